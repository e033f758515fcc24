#include "display_commands.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <ostream>

#include "cli_commands.h"
#include "cli_prompts.h"
#include "modules/displays/bar_display.h"
#include "modules/displays/display_kind.h"
#include "modules/displays/display_operation.h"
#include "modules/displays/field_text.h"
#include "modules/displays/gear_display.h"
#include "modules/displays/poti_display.h"
#include "modules/displays/rally_timer.h"
#include "modules/displays/shift_display.h"
#include "modules/displays/small_displays.h"
#include "modules/displays/tank_display.h"
#include "platform/cp1252.h"
#include "texts/display_text_ids.h"
#include "texts/text_ids.h"
#include "texts/text_table.h"

namespace cli {

namespace {

using displays::DisplayKind;
using displays::Operation;

constexpr int32_t kReported = 1;

struct Options {
  std::string command;
  std::string file;
  std::optional<uint32_t> serial;
};

// How one kind reads, writes, tests and shows, all on its settings record.
struct Handler {
  std::function<int32_t(buslink::ModuleLink&, CliPrompts&)> read;   // status of the page
  std::function<int32_t(buslink::ModuleLink&, CliPrompts&)> write;  // status of the page
  std::function<int32_t(buslink::ModuleLink&, CliPrompts&)> test;
  std::function<int32_t(const std::string&)> load;  // 0 or a text ID
  std::function<int32_t(const std::string&)> save;
  std::function<std::string()> text;  // the fields as the file or field text holds them
};

std::string readWhole(const std::string& path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  ok = static_cast<bool>(in);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int32_t writeWhole(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return out.good() ? 0 : texts::kTextCannotOpenFile;
}

// A settings file's bytes as the terminal shows them.
std::string shownFileText(const std::string& bytes) {
  std::string text = platform::cp1252ToUtf8(bytes);
  std::string out;
  for (char c : text) {
    if (c != '\r') out += c;
  }
  return out;
}

template <class Settings, class Read, class Write, class Load, class Save, class Text>
Handler fileHandler(Settings& s, Read read, Write write,
                    std::function<int32_t(buslink::ModuleLink&, CliPrompts&)> test, Load load,
                    Save save, Text text) {
  return {[&s, read](buslink::ModuleLink& l, CliPrompts& p) { return read(l, p, s); },
          [&s, write](buslink::ModuleLink& l, CliPrompts& p) { return write(l, p, s); },
          std::move(test),
          [&s, load](const std::string& path) { return load(s, path); },
          [&s, save](const std::string& path) { return save(s, path); },
          [&s, text]() { return shownFileText(text(s)); }};
}

template <class Settings, class Read, class Write, class Parse, class Text>
Handler textHandler(Settings& s, Read read, Write write,
                    std::function<int32_t(buslink::ModuleLink&, CliPrompts&)> test, Parse parse,
                    Text text) {
  return {[&s, read](buslink::ModuleLink& l, CliPrompts& p) { return read(l, p, s); },
          [&s, write](buslink::ModuleLink& l, CliPrompts& p) { return write(l, p, s); },
          std::move(test),
          [&s, parse](const std::string& path) {
            bool ok = false;
            const std::string t = readWhole(path, ok);
            return ok ? parse(t, s) : texts::kTextCannotOpenFile;
          },
          [&s, text](const std::string& path) { return writeWhole(path, text(s)); },
          [&s, text]() { return text(s); }};
}

std::string parseOptions(const std::vector<std::string>& args, DisplayKind kind, Options& o) {
  const std::string name(displays::displayInfo(kind).commandName);
  if (args.size() < 2) return name + " needs read, write, test or show";
  o.command = args[1];
  if (o.command != "read" && o.command != "write" && o.command != "test" && o.command != "show")
    return "unknown " + name + " command: " + o.command;
  const bool bar = kind == DisplayKind::Bar;
  if (bar && o.command == "read") return "the bar display cannot be read";
  const char* fileOption = o.command == "read" ? "--out" : "--in";
  for (size_t i = 2; i < args.size(); ++i) {
    const std::string& a = args[i];
    uint32_t n = 0;
    if (a == fileOption && o.command != "test" && i + 1 < args.size()) {
      o.file = args[++i];
    } else if (a == "--serial" && bar && o.command != "show" && i + 1 < args.size()) {
      if (!parseNumber(args[i + 1], 9999999, n) || n < 1000000)
        return "--serial needs a serial number 1000000-9999999";
      o.serial = n;
      ++i;
    } else {
      return "unexpected argument for " + name + " " + o.command + ": " + a;
    }
  }
  const bool needsFile =
      o.command == "read" || o.command == "show" || (o.command == "write" && !bar);
  if (needsFile && o.file.empty()) return name + " " + o.command + " needs " + fileOption + " FILE";
  return {};
}

void print(std::ostream& out, int32_t textId) {
  if (textId != 0) out << texts::text(textId) << "\n";
}

int32_t runBar(buslink::ModuleLink& link, CliPrompts& prompts, const Options& o,
               std::ostream& out) {
  displays::BarDisplaySettings s;
  if (!o.file.empty()) {
    if (int32_t e = displays::loadBarDisplayFile(s, o.file); e != 0) {
      print(out, e);
      return kReported;
    }
  }
  if (o.serial) s.serialNumber = static_cast<int32_t>(*o.serial);
  if (o.command == "show") {
    out << shownFileText(displays::barDisplayFileText(s));
    return 0;
  }
  if (o.command == "write") return displays::writeBarDisplay(link, prompts, s) == 0 ? 0 : kReported;
  displays::BarDisplayTest test(link, prompts);
  if (test.start(s) != 0) return kReported;
  // One full round of the patterns, then the message the page shows.
  for (int i = 0; i < displays::BarDisplayTest::kPatterns; ++i) {
    test.tick();
    link.clock().sleepMs(displays::BarDisplayTest::kTickMs);
  }
  prompts.showMessage(texts::kTextDisplayTestEnd);
  test.finish();
  return 0;
}

}  // namespace

bool isDisplayCommand(const std::string& name) {
  return displays::kindForCommand(name).has_value();
}

int32_t runDisplayCommand(buslink::ModuleLink& link, const std::vector<std::string>& args,
                          std::ostream& out, std::ostream& err) {
  const DisplayKind kind = *displays::kindForCommand(args.at(0));
  Options o;
  if (std::string why = parseOptions(args, kind, o); !why.empty()) {
    err << "tunvexa-cli: " << why << "\n";
    return -1;
  }
  CliPrompts prompts(out, true, std::nullopt);
  if (kind == DisplayKind::Bar) return runBar(link, prompts, o, out);

  displays::GearDisplaySettings gear;
  displays::TankDisplaySettings tank;
  displays::ShiftDisplaySettings shift;
  displays::PotiDisplaySettings poti;
  displays::OilDisplaySettings oil;
  displays::StopwatchSettings stopwatch;
  displays::RallyTimerSettings rally;
  Handler h;
  switch (kind) {
    case DisplayKind::Gear:
      h = fileHandler(gear, displays::readGearDisplay, displays::writeGearDisplay,
                      displays::testGearDisplay, displays::loadGearDisplayFile,
                      displays::saveGearDisplayFile, displays::gearDisplayFileText);
      break;
    case DisplayKind::Tank:
      h = fileHandler(tank, displays::readTankDisplay, displays::writeTankDisplay,
                      displays::testTankDisplay, displays::loadTankDisplayFile,
                      displays::saveTankDisplayFile, displays::tankDisplayFileText);
      break;
    case DisplayKind::Shift:
      h = fileHandler(shift, displays::readShiftDisplay, displays::writeShiftDisplay,
                      displays::testShiftDisplay, displays::loadShiftDisplayFile,
                      displays::saveShiftDisplayFile, displays::shiftDisplayFileText);
      break;
    case DisplayKind::Poti:
      h = fileHandler(poti, displays::readPotiDisplay, displays::writePotiDisplay,
                      displays::testPotiDisplay, displays::loadPotiDisplayFile,
                      displays::savePotiDisplayFile, displays::potiDisplayFileText);
      break;
    case DisplayKind::Oil:
      h = textHandler(oil, displays::readOilDisplay, displays::writeOilDisplay, {},
                      displays::parseOilDisplayText, displays::oilDisplayText);
      break;
    case DisplayKind::Stopwatch:
      h = textHandler(stopwatch, displays::readStopwatch, displays::writeStopwatch, {},
                      displays::parseStopwatchText, displays::stopwatchText);
      break;
    case DisplayKind::Rally:
      h = textHandler(rally, displays::readRallyTimer, displays::writeRallyTimer,
                      displays::testRallyTimer, displays::parseRallyTimerText,
                      displays::rallyTimerText);
      break;
    case DisplayKind::Bar:
      break;
  }

  if (o.command == "test") {
    if (!h.test) {
      err << "tunvexa-cli: " << args[0] << " has no display test\n";
      return -1;
    }
    return h.test(link, prompts) == 0 ? 0 : kReported;
  }
  if (o.command == "show" || o.command == "write") {
    const int32_t e = h.load(o.file);
    if (e != 0) {
      print(out, e);
      return kReported;
    }
    if (o.command == "show") {
      out << h.text();
      return 0;
    }
    const int32_t status = h.write(link, prompts);
    link.close();
    displays::reportOutcome(link, prompts, Operation::Write, status);
    return status == 0 ? 0 : kReported;
  }
  const int32_t status = h.read(link, prompts);
  link.close();
  displays::reportOutcome(link, prompts, Operation::Read, status);
  if (status != 0) return kReported;
  if (int32_t e = h.save(o.file); e != 0) {
    print(out, e);
    return kReported;
  }
  return 0;
}

}  // namespace cli
