#include "logger_commands.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <ostream>

#include "cli_prompts.h"
#include "modules/loggers/car_live.h"
#include "modules/loggers/car_log_conversion.h"
#include "modules/loggers/lambda_conversion.h"
#include "modules/loggers/lambda_display.h"
#include "modules/loggers/log_files.h"
#include "modules/loggers/logger_clock.h"
#include "modules/loggers/rpm_logger.h"
#include "modules/loggers/serial_logger.h"
#include "modules/loggers/vehicle_file.h"
#include "shell/settings_file.h"
#include "texts/logger_text_ids.h"
#include "texts/text_ids.h"
#include "texts/text_table.h"

namespace cli {

namespace {

// Options (--name VALUE or --flag) and the remaining words.
struct Parsed {
  std::map<std::string, std::string> options;
  std::vector<std::string> words;
  bool has(const std::string& name) const { return options.count(name) != 0; }
};

bool parse(const std::vector<std::string>& args, size_t from, const std::vector<std::string>& flags,
           const std::vector<std::string>& valued, Parsed& p, std::string& why) {
  for (size_t i = from; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.rfind("--", 0) != 0) {
      p.words.push_back(a);
    } else if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
      p.options[a] = "";
    } else if (std::find(valued.begin(), valued.end(), a) != valued.end()) {
      if (i + 1 >= args.size()) {
        why = a + " needs a value";
        return false;
      }
      p.options[a] = args[++i];
    } else {
      why = "unknown option " + a;
      return false;
    }
  }
  return true;
}

bool parseTime(const std::string& text, platform::LocalTime& t) {
  char tail = 0;
  return std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &t.year, &t.month, &t.day, &t.hour,
                     &t.minute, &t.second, &tail) == 6 &&
         t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31 && t.hour >= 0 &&
         t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

bool intOption(const Parsed& p, const std::string& name, int32_t min, int32_t max, int32_t& v) {
  if (!p.has(name)) return true;
  const std::string& s = p.options.at(name);
  char* end = nullptr;
  const long n = std::strtol(s.c_str(), &end, 0);
  if (s.empty() || *end != '\0' || n < min || n > max) return false;
  v = static_cast<int32_t>(n);
  return true;
}

// What the page would show as the outcome: success texts too.
int32_t told(int32_t status, std::ostream& out) {
  if (status == texts::kTextLoggerReadOk || status == texts::kTextLoggerWriteOk ||
      status == texts::kTextClockSet) {
    out << texts::text(status) << "\n";
    return 0;
  }
  return status;
}

int32_t convert(const std::string& kind, const Parsed& p, std::ostream& err) {
  loggers::ConversionOptions options;
  options.stamp = platform::localTime();
  if (p.has("--at") && !parseTime(p.options.at("--at"), options.stamp)) {
    err << "tunvexa-cli: --at needs \"YYYY-MM-DD HH:MM:SS\"\n";
    return -1;
  }
  const std::string& in = p.words[0];
  const std::string& outPath = p.words[1];
  loggers::VehicleData vehicle;
  if (kind == "carlogger") {
    if (const int32_t e = loggers::readVehicleFile(p.options.at("--vehicle"), vehicle); e != 0) {
      return e;
    }
  }
  if (!p.has("--csv")) {
    return kind == "carlogger"
               ? loggers::convertCarLogFile(in, outPath, loggers::kSideFileName, vehicle, options)
               : loggers::convertLambdaLogFile(in, outPath, loggers::kSideFileName, options);
  }
  options.format = loggers::OutputFormat::Csv;
  std::ifstream log(in, std::ios::binary);
  if (!log) return texts::kTextCannotOpenLogFile;
  std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
  if (!out) return texts::kTextCannotOpenLogFile;
  const int32_t r = kind == "carlogger"
                        ? loggers::convertCarLog(log, vehicle, out, nullptr, nullptr, options)
                        : loggers::convertLambdaLog(log, out, nullptr, options);
  out.close();
  return r == 0 && !out ? texts::kTextFileWriteError : r;
}

int32_t live(buslink::ModuleLink& link, const Parsed& p, std::ostream& out, std::ostream& err) {
  int32_t count = 10;
  if (!intOption(p, "--count", 1, 100000, count)) {
    err << "tunvexa-cli: --count needs 1-100000\n";
    return -1;
  }
  std::string vehiclePath;
  if (p.has("--vehicle")) {
    vehiclePath = p.options.at("--vehicle");
  } else {
    shell::SettingsFile settings;
    vehiclePath = settings.get("NameCarLogger", settings.defaultFolder());
  }
  loggers::VehicleData v;
  if (const int32_t e = loggers::readVehicleFile(vehiclePath, v); e != 0) return e;
  int32_t e = link.selectModule(loggers::kCarLoggerAddress);
  uint16_t version = 0;
  if (e == 0) e = link.readFirmwareVersion(version);
  if (e != 0) return e;
  out << "Tacho\tDrehzahl\tBeschleunigung X\tBeschleunigung Y\tDrosselklappe\tLambda A\t"
         "Lambda B\tSensor 1\tSensor 2\tSensor 3\tSensor 4\tBordspannung\tMarker\n";
  loggers::SpeedTracker speed;
  // The window's 100 ms timer; ticks without a new record show nothing.
  for (int shown = 0, ticks = 0; shown < count && ticks < count * 50; ++ticks) {
    loggers::LiveRecord r{};
    bool fresh = false;
    if (loggers::readLiveRecord(link, r, fresh) == 0 && fresh) {
      const loggers::LiveTexts t = loggers::liveTexts(r, v, speed);
      out << t.speed << "\t" << t.rpm << "\t" << t.accelerationX << "\t" << t.accelerationY << "\t"
          << t.poti << "\t" << t.lambdaA << "\t" << t.lambdaB;
      for (const std::string& s : t.sensors) out << "\t" << s;
      out << "\t" << t.voltage << "\t" << (t.marker ? "1" : "") << "\n";
      ++shown;
    }
    link.clock().sleepMs(100);
  }
  return 0;
}

int32_t carLogger(buslink::ModuleLink& link, const std::string& op, const Parsed& p,
                  std::ostream& out, std::ostream& err) {
  if (op == "convert") {
    if (p.words.size() != 2 || !p.has("--vehicle")) {
      err << "tunvexa-cli: carlogger convert needs --vehicle FILE, IN and OUT\n";
      return -1;
    }
    return convert("carlogger", p, err);
  }
  if (op == "prepare") {
    int32_t hours = 0;
    if (p.words.size() != 1 || !p.has("--hours") ||
        !intOption(p, "--hours", loggers::kMinHours, loggers::kMaxHours, hours)) {
      err << "tunvexa-cli: carlogger prepare needs --hours 1-1000 and FOLDER\n";
      return -1;
    }
    CliPrompts prompts(out, false, std::nullopt);
    return loggers::createCarLogFile(p.words[0], hours, prompts);
  }
  if (op == "clock") {
    platform::LocalTime t = platform::localTime();
    if (!p.words.empty() || (p.has("--at") && !parseTime(p.options.at("--at"), t))) {
      err << "tunvexa-cli: carlogger clock takes only its options\n";
      return -1;
    }
    loggers::RecordingOptions options;
    options.ignition = p.has("--ignition");
    options.zor = p.has("--zor");
    options.baud9600 = p.has("--9600");
    std::string version;
    const int32_t r = loggers::setCarLoggerClock(link, t, options, version);
    if (!version.empty()) out << version << "\n";
    return told(r, out);
  }
  if (op == "live") {
    if (!p.words.empty()) return -1;
    return live(link, p, out, err);
  }
  err << "tunvexa-cli: carlogger convert|prepare|clock|live\n";
  return -1;
}

int32_t lambda(buslink::ModuleLink& link, const std::string& op, const Parsed& p, std::ostream& out,
               std::ostream& err) {
  if (op == "convert") {
    if (p.words.size() != 2) {
      err << "tunvexa-cli: lambda convert needs IN and OUT\n";
      return -1;
    }
    return convert("lambda", p, err);
  }
  loggers::Brightness b;
  std::string version;
  if (op == "read" && p.words.empty()) {
    const int32_t r = loggers::readBrightness(link, b, version);
    if (!version.empty()) out << version << "\n";
    if (r == texts::kTextLoggerReadOk) out << "Tag " << b.day << "\nNacht " << b.night << "\n";
    return told(r, out);
  }
  if (op == "write" && p.words.empty() && p.has("--day") && p.has("--night")) {
    if (!intOption(p, "--day", 0, 255, b.day) || !intOption(p, "--night", 0, 255, b.night)) {
      return texts::kTextParameterOutOfRange;
    }
    const int32_t r = loggers::writeBrightness(link, b, version);
    if (!version.empty()) out << version << "\n";
    return told(r, out);
  }
  err << "tunvexa-cli: lambda convert|read|write --day N --night N\n";
  return -1;
}

void printRpm(const loggers::RpmLoggerValues& v, std::ostream& out) {
  out << "Drehzahlgrenze " << v.limit << "\nmaximale Drehzahl " << v.maxSpeed << "\nDauer gesamt "
      << v.totalMs << " msec\nDauer 5-49 " << v.count5to49 << "\nDauer 50-511 " << v.count50to511
      << "\nDauer > 511 " << v.countOver511 << "\nZylinder " << v.cylinders << "\nTakte "
      << v.strokes << "\n";
}

int32_t rpmLogger(buslink::ModuleLink& link, std::string op, const Parsed& p, std::ostream& out,
                  std::ostream& err) {
  loggers::RpmLoggerValues v;
  std::string version;
  int32_t r = -1;
  if (!p.words.empty()) op.clear();
  if (op == "read") {
    r = loggers::readRpmLogger(link, v, version);
  } else if (op == "clear") {
    r = loggers::clearRpmLogger(link, v, version);
  } else if (op == "write" && p.has("--limit")) {
    if (!intOption(p, "--limit", 1, 99999, v.limit) ||
        !intOption(p, "--cylinders", 2, 12, v.cylinders) ||
        !intOption(p, "--strokes", 2, 4, v.strokes)) {
      return texts::kTextParameterOutOfRange;
    }
    r = loggers::writeRpmLogger(link, v, version);
  } else {
    err << "tunvexa-cli: rpmlogger read|clear|write --limit N [--cylinders N] [--strokes N]\n";
    return -1;
  }
  if (!version.empty()) out << version << "\n";
  if (r == texts::kTextLoggerReadOk || r == texts::kTextLoggerWriteOk || r == 0) printRpm(v, out);
  return told(r, out);
}

int32_t serialLogger(buslink::ModuleLink& link, const std::string& op, const Parsed& p,
                     std::ostream& out, std::ostream& err) {
  loggers::SerialLoggerSettings s;
  std::string version;
  if (op == "read" && p.words.empty()) {
    const int32_t r = loggers::readSerialLogger(link, s, version);
    if (!version.empty()) out << version << "\n";
    if (r == texts::kTextLoggerReadOk) {
      static const std::map<loggers::SerialMode, const char*> names = {
          {loggers::SerialMode::Standard, "Standard"},
          {loggers::SerialMode::Selective, "Selektiv"},
          {loggers::SerialMode::Dso, "DSO"},
          {loggers::SerialMode::Zor, "ZOR"}};
      out << "Modus " << names.at(s.mode) << "\nBaudrate "
          << loggers::rateText(s.rateIndex, s.mode == loggers::SerialMode::Dso) << "\nKennung "
          << s.identifier << "\nMaskierung " << s.mask << "\nBytezahl " << s.byteCount << "\nCRC "
          << s.crc << "\n";
    }
    return told(r, out);
  }
  if (op == "write" && p.words.empty()) {
    if (p.has("--mode")) {
      static const std::map<std::string, loggers::SerialMode> modes = {
          {"standard", loggers::SerialMode::Standard},
          {"selektiv", loggers::SerialMode::Selective},
          {"dso", loggers::SerialMode::Dso},
          {"zor", loggers::SerialMode::Zor}};
      const auto it = modes.find(p.options.at("--mode"));
      if (it == modes.end()) {
        err << "tunvexa-cli: --mode standard|selektiv|dso|zor\n";
        return -1;
      }
      loggers::switchMode(s, it->second);
    }
    const bool dso = s.mode == loggers::SerialMode::Dso;
    int32_t rate = (dso ? loggers::kSampleRates : loggers::kBaudRates)[s.rateIndex];
    if (!intOption(p, "--rate", 1, 1000000, rate) || !intOption(p, "--id", 0, 999, s.identifier) ||
        !intOption(p, "--mask", 0, 999, s.mask) || !intOption(p, "--bytes", 0, 99, s.byteCount) ||
        !intOption(p, "--crc", 0, 999, s.crc)) {
      return texts::kTextParameterOutOfRange;
    }
    const auto& table = dso ? loggers::kSampleRates : loggers::kBaudRates;
    const auto found = std::find(table.begin(), table.end(), rate);
    if (found == table.end() || (s.mode == loggers::SerialMode::Zor && p.has("--rate"))) {
      err << "tunvexa-cli: --rate must be one of the page's list (not with zor)\n";
      return -1;
    }
    s.rateIndex = static_cast<int>(found - table.begin());
    platform::LocalTime t = platform::localTime();
    if (p.has("--at") && !parseTime(p.options.at("--at"), t)) return -1;
    const int32_t r = loggers::writeSerialLogger(link, s, t, version);
    if (!version.empty()) out << version << "\n";
    return told(r, out);
  }
  CliPrompts prompts(out, p.has("--erase"), std::nullopt);
  if (op == "prepare" && p.words.size() == 1 && p.has("--mb")) {
    int32_t mb = 0;
    if (!intOption(p, "--mb", 1, 999, mb)) return texts::kTextParameterOutOfRange;
    return loggers::createSerialLogFile(p.words[0], mb, prompts);
  }
  if (op == "copy" && p.words.size() == 2) {
    const std::string copyPath = p.words[1];
    return loggers::copyRecordedLog(
        p.words[0],
        [&](std::string& path) {
          path = copyPath;
          return true;
        },
        prompts);
  }
  err << "tunvexa-cli: seriallogger read|write|prepare|copy\n";
  return -1;
}

}  // namespace

bool isLoggerCommand(const std::string& command) {
  return command == "carlogger" || command == "lambda" || command == "rpmlogger" ||
         command == "seriallogger";
}

int32_t runLoggerCommand(buslink::ModuleLink& link, const std::vector<std::string>& args,
                         std::ostream& out, std::ostream& err) {
  if (args.size() < 2) {
    err << "tunvexa-cli: " << args[0] << " needs an operation\n";
    return -1;
  }
  Parsed p;
  std::string why;
  if (!parse(
          args, 2, {"--csv", "--ignition", "--zor", "--9600", "--erase"},
          {"--vehicle", "--at", "--hours", "--count", "--day", "--night", "--limit", "--cylinders",
           "--strokes", "--mode", "--rate", "--id", "--mask", "--bytes", "--crc", "--mb"},
          p, why)) {
    err << "tunvexa-cli: " << why << "\n";
    return -1;
  }
  const std::string& kind = args[0];
  const std::string& op = args[1];
  int32_t r = -1;
  if (kind == "carlogger") r = carLogger(link, op, p, out, err);
  if (kind == "lambda") r = lambda(link, op, p, out, err);
  if (kind == "rpmlogger") r = rpmLogger(link, op, p, out, err);
  if (kind == "seriallogger") r = serialLogger(link, op, p, out, err);
  return r;
}

}  // namespace cli
