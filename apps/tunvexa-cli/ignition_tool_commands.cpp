#include "ignition_tool_commands.h"

#include <optional>
#include <ostream>

#include "ignition_commands.h"
#include "modules/ignition/channel_table.h"
#include "modules/ignition/ignition_file.h"
#include "modules/ignition/pin_change.h"
#include "modules/ignition/vehicle_info.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_table.h"

namespace cli {

namespace {

int32_t usage(std::ostream& err, const std::string& why) {
  err << "tunvexa-cli: " << why << "\n";
  return -1;
}

int32_t loadFile(ignition::IgnitionState& state, const std::string& path, std::ostream& out) {
  const int32_t e = ignition::loadIgnitionFile(state, path);
  if (e != 0) out << texts::text(e) << "\n";
  return e == 0 || e == texts::kTextOldFileFormat ? 0 : kReported;
}

int32_t pinSet(buslink::ModuleLink& link, const std::vector<std::string>& args, std::ostream& out,
               std::ostream& err) {
  if (args.size() < 3 || args[1] != "set") return usage(err, "ignition pin needs set NEW");
  const std::string& newPin = args[2];
  if (!isPinText(newPin)) return usage(err, "the new PIN needs 1-4 hexadecimal digits");
  std::optional<std::string> oldPin;
  std::optional<bool> lock;
  for (size_t i = 3; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--pin" && i + 1 < args.size() && isPinText(args[i + 1])) {
      oldPin = args[++i];
    } else if (a == "--lock" && i + 1 < args.size() &&
               (args[i + 1] == "on" || args[i + 1] == "off")) {
      lock = args[++i] == "on";
    } else {
      return usage(err, "unexpected argument for ignition pin set: " + a);
    }
  }
  ignition::IgnitionState state;
  ignition::initialiseState(state);
  CliPrompts prompts(out, false, oldPin);
  OptionPin entry(oldPin, prompts, out);
  state.pinEntry = &entry;
  if (ignition::startPinChange(state, link, prompts) != 0) return kReported;
  const bool locked = lock.value_or((state.record.FlagsB & ignition::bits::kFlagsBLocked) != 0);
  const int32_t e = ignition::applyPinChange(state, link, prompts, newPin, locked);
  if (e == 0) return 0;
  if (e != texts::kTextWriteLocked) out << texts::text(e) << "\n";
  return kReported;
}

// Fields of the vehicle information by the settings file's names.
std::string* infoField(ignition::VehicleInfoForm& form, const std::string& name) {
  if (name == "Hersteller") return &form.maker;
  if (name == "Typ") return &form.model;
  if (name == "Ausfuehrung") return &form.variant;
  if (name == "Kommentar") return &form.comment;
  return nullptr;
}

int32_t info(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string in, outFile;
  std::vector<std::pair<std::string, std::string>> sets;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--in" && i + 1 < args.size()) {
      in = args[++i];
    } else if (a == "--out" && i + 1 < args.size()) {
      outFile = args[++i];
    } else if (a == "--set" && i + 1 < args.size()) {
      const std::string& s = args[++i];
      const size_t eq = s.find('=');
      if (eq == std::string::npos) return usage(err, "--set needs FIELD=TEXT");
      sets.push_back({s.substr(0, eq), s.substr(eq + 1)});
    } else {
      return usage(err, "unexpected argument for ignition info: " + a);
    }
  }
  if (in.empty()) return usage(err, "ignition info needs --in FILE");
  if (sets.empty() != outFile.empty()) return usage(err, "--set and --out go together");
  ignition::IgnitionState state;
  ignition::initialiseState(state);
  if (loadFile(state, in, out) != 0) return kReported;
  ignition::VehicleInfoForm form = ignition::vehicleInfoForm(state.record);
  for (auto& [name, text] : sets) {
    std::string* field = infoField(form, name);
    if (field == nullptr) {
      return usage(err, "FIELD is Hersteller, Typ, Ausfuehrung or Kommentar, not " + name);
    }
    // "\n" typed on the command line stands for a line break of the comment.
    std::string value;
    for (size_t k = 0; k < text.size(); ++k) {
      if (text[k] == '\\' && k + 1 < text.size() && text[k + 1] == 'n') {
        value += '\n';
        ++k;
      } else {
        value += text[k];
      }
    }
    *field = value;
  }
  if (!sets.empty()) {
    // The dialog's rules: 24 characters each, the comment what is left.
    ignition::takeVehicleInfo(state.record, form);
    const int32_t e = ignition::saveIgnitionFile(state, outFile);
    if (e != 0) {
      out << texts::text(e) << "\n";
      return kReported;
    }
  }
  const ignition::IgnitionRecord& r = state.record;
  out << "Hersteller: " << r.InfoHersteller << "\nTyp: " << r.InfoTyp
      << "\nAusfuehrung: " << r.InfoAusfuehrung << "\nKommentar:\n"
      << r.InfoKommentar << "\n";
  return 0;
}

int32_t channels(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 3 || args[1] != "--in") return usage(err, "ignition channels needs --in FILE");
  ignition::IgnitionState state;
  ignition::initialiseState(state);
  if (loadFile(state, args[2], out) != 0) return kReported;
  const ignition::ChannelGrid grid = ignition::channelGrid(state.record);
  // Columns are the firing order; x fires, . does not, - cannot.
  out << "Zündfolge  1 2 3 4 5 6 7 8\n";
  for (int c = 0; c < ignition::kChannels; ++c) {
    out << "Kanal " << c + 1 << "   ";
    for (int p = 0; p < ignition::kFiringPositions; ++p) {
      out << ' ' << (!grid.enabled[c][p] ? '-' : grid.checked[c][p] ? 'x' : '.');
    }
    out << "\n";
  }
  return 0;
}

}  // namespace

int32_t runIgnitionToolCommand(buslink::ModuleLink& link, const std::vector<std::string>& args,
                               std::ostream& out, std::ostream& err) {
  if (args[0] == "pin") return pinSet(link, args, out, err);
  if (args[0] == "info") return info(args, out, err);
  return channels(args, out, err);
}

}  // namespace cli
