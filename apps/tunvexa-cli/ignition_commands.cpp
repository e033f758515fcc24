#include "ignition_commands.h"

#include <cctype>
#include <optional>
#include <ostream>

#include "cli_prompts.h"
#include "ignition_tool_commands.h"
#include "modules/ignition/ignition_file.h"
#include "modules/ignition/ignition_io.h"
#include "modules/ignition/pin_check.h"
#include "shell/message_helpers.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_table.h"

namespace cli {

namespace {

struct Options {
  std::string command;
  std::string file;
  std::optional<std::string> pin;
  bool dump = false;
  bool yes = false;
};

// Empty when the options fit the command, else what is wrong.
std::string parseOptions(const std::vector<std::string>& args, Options& o) {
  if (args.empty()) return "ignition needs read, write, show, pin, info or channels";
  o.command = args[0];
  if (o.command != "read" && o.command != "write" && o.command != "show") {
    return "unknown ignition command: " + o.command;
  }
  const char* fileOption = o.command == "read" ? "--out" : o.command == "write" ? "--in" : "";
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == fileOption && i + 1 < args.size()) {
      o.file = args[++i];
    } else if (a == "--pin" && o.command != "show" && i + 1 < args.size()) {
      if (!isPinText(args[i + 1])) return "--pin needs 1-4 hexadecimal digits";
      o.pin = args[++i];
    } else if (a == "--dump" && o.command == "read") {
      o.dump = true;
    } else if (a == "--yes" && o.command == "write") {
      o.yes = true;
    } else {
      return "unexpected argument for ignition " + o.command + ": " + a;
    }
  }
  if (o.command != "show" && o.file.empty()) {
    return std::string("ignition ") + o.command + " needs " + fileOption + " FILE";
  }
  return {};
}

void print(std::ostream& out, int32_t textId) {
  out << texts::text(textId) << "\n";
}

int32_t readModule(ignition::IgnitionState& state, buslink::ModuleLink& link, CliPrompts& prompts,
                   const Options& o, std::ostream& out) {
  const int32_t r = ignition::readIgnition(state, link, prompts);
  shell::finishOperation(link, prompts, r);
  if (r != texts::kTextReadOk) return kReported;
  if (o.command == "show") {
    printIgnition(state, out);
    return 0;
  }
  // After the read: a read starts a new record and drops an older image.
  if (o.dump) {
    ignition::readMemoryImage(state, link, prompts);
    if (!state.dumpPresent) return kReported;
  }
  const int32_t e = ignition::saveIgnitionFile(state, o.file);
  if (e != 0) {
    print(out, e);
    return kReported;
  }
  return 0;
}

int32_t writeModule(ignition::IgnitionState& state, buslink::ModuleLink& link, CliPrompts& prompts,
                    const Options& o, std::ostream& out) {
  const int32_t loaded = ignition::loadIgnitionFile(state, o.file);
  // An older format is loaded all the same; the page only tells about it.
  if (loaded != 0) print(out, loaded);
  if (loaded != 0 && loaded != texts::kTextOldFileFormat) return kReported;
  const int32_t r = ignition::writeIgnition(state, link, prompts);
  shell::finishOperation(link, prompts, r);
  // 0 means a refusal that has been shown: the module was not written.
  return r == texts::kTextWriteOk ? 0 : kReported;
}

}  // namespace

bool isPinText(const std::string& text) {
  if (text.empty() || text.size() > 4) return false;
  for (char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

int32_t OptionPin::enterPin(ignition::IgnitionRecord& record, buslink::ModuleLink& link,
                            shell::UserPrompts&) {
  if (!pin_) {
    link.close();
    return texts::kTextWriteLocked;
  }
  // Like the edit field, which takes four characters.
  const ignition::PinTry t =
      ignition::enterPinOnce(record, link, prompts_, pin_->substr(0, ignition::pin::kTextSize - 1));
  if (t.status != ignition::kPinTryAgain) return t.status;
  out_ << "noch " << t.triesLeft << " Versuche!\n";
  link.close();
  return texts::kTextWriteLocked;
}

int32_t runIgnitionCommand(buslink::ModuleLink& link, const std::vector<std::string>& args,
                           std::ostream& out, std::ostream& err) {
  if (!args.empty() && (args[0] == "pin" || args[0] == "info" || args[0] == "channels")) {
    return runIgnitionToolCommand(link, args, out, err);
  }
  Options o;
  if (std::string why = parseOptions(args, o); !why.empty()) {
    err << "tunvexa-cli: " << why << "\n";
    return -1;
  }
  ignition::IgnitionState state;
  ignition::initialiseState(state);
  CliPrompts prompts(out, o.yes, o.pin);
  OptionPin pin(o.pin, prompts, out);
  state.pinEntry = &pin;
  if (o.command == "write") return writeModule(state, link, prompts, o, out);
  return readModule(state, link, prompts, o, out);
}

}  // namespace cli
