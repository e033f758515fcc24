// Scenario files: one statement per line; '#' starts a comment that runs to
// the end of the line. Numbers are decimal or hexadecimal with 0x; a version
// is a word (0x0803) or major.minor[.patch] (8.3, 7.3.3).
//
//   baud N                 rate the modules listen at (default 9600)
//   pc-search MS           a module looks for the PC every MS milliseconds
//   no-ignition            no ignition at 0xE0 (there is one by default)
//   ignition               the following lines describe the ignition
//   module ADDR            ... a display or logger module (0x20, 0x40-0xD0, 0xF0)
//   serial-module          ... a module at 0x20 chosen by serial number
//
// Inside a module block:
//   type W                 type word
//   firmware V             firmware version
//   required V             oldest PC software the module works with
//   period W               period word; not 0 = the engine runs
//   serial N               decimal serial number (up to 8 digits)
//   asleep                 deaf until a wake pulse
//   silent                 carries out frames but never replies
//   mem ADDR B...          memory bytes from ADDR on
//   live INDEX W           live value word
//   status INDEX B         status byte 0-5
//   readonly ADDR...       cells that keep their value when written
//   pin HEX                ignition: PIN as typed, hexadecimal (1A2B)
//   pin-given              ignition: the PIN has been given already
//   info ADDR B...         ignition: vehicle information bytes from ADDR on
//   info-text A|B|C|D      ignition: the four texts; \n stands for a line feed
//
// The ignition's log mode (sparks and packets count from 1 from its start):
//   engine RPM                    the engine turns steadily at RPM (default: a spark every period
//   word) engine-ramp FROM TO MS        from FROM to TO rpm over MS ms, then steadily at TO misfire
//   N...                  these sparks do not come corrupt-packet N...           these packets fail
//   their check
//
// A module's bootloader, inside its block ('bootloader' first):
//   bootloader BAUD               it has one, at 4800, 9600 or 19200 baud
//   boot-defective                no working firmware: it starts in the bootloader
//   boot-version W                answer to 0xF1 (default 0x0200: 4-byte addresses)
//   boot-id W                     device id for 0xF2 (default 0xAD07)
//   boot-number N                 firmware number for 0xF4
//   flash SIZE ERASE WRITE        flash bytes, erase and write block bytes
//   flash-ms ERASE WRITE          time an erase and a block write take
//   boot-timing ANNOUNCE WAIT     ms between its 0x55 bytes; ms before it starts intact firmware
//   boot-version-at ADDR          flash address of the firmware's major, minor, patch
//   boot-fault drop-line N        the line goes dead after chunk N
//   boot-fault power-cycle N      power off and on after chunk N
//   boot-fault corrupt-reply N    its reply N fails the check
//   boot-fault refuse-erase N     erase N gets no answer (0: every erase)
//
// The trigger wheel of the ignition's oscilloscope mode:
//   wheel TEETH MISSING           pitches and missing teeth (default: memory 99 and 100)
//   wheel-rpm RPM                 steady speed (default 300)
//   wheel-ramp FROM TO MS         from FROM to TO rpm over MS ms from the start of the mode
//   wheel-inverted                teeth low, gaps high
//   wheel-absent N...             these teeth (from 1) are broken off
//   wheel-extra-tooth             one tooth stands in the gap
//
// Faults and injections, anywhere (frames count from 1, bytes from 0):
//   fault drop-reply F B       fault corrupt-reply F B
//   fault drop-echo F B        fault corrupt-echo F B
//   fault no-echo              fault wrong-echo [F]   (no F: every frame)
//   fault foreign-stream       fault silent-after F [ADDR]
//   inject after-frame F B...  inject at-ms T B...

#include "sim/scenario_parser.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <vector>

namespace sim {

namespace {

constexpr long long kMaxRpm = 30000;

struct ParseError {
  std::string message;
  int line = 0;  // when the fault lies on an earlier line than the one read
};

std::vector<std::string> splitWords(std::string_view s) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r')) ++i;
    size_t j = i;
    while (j < s.size() && s[j] != ' ' && s[j] != '\t' && s[j] != '\r') ++j;
    if (j > i) words.emplace_back(s.substr(i, j - i));
    i = j;
  }
  return words;
}

long long number(const std::string& word, long long lo, long long hi, int base = 10) {
  std::string_view digits = word;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    digits.remove_prefix(2);
    base = 16;
  }
  long long v = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, base);
  if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
    throw ParseError{"'" + word + "' is not a number"};
  }
  if (v < lo || v > hi) {
    throw ParseError{"value " + word + " is outside " + std::to_string(lo) + "-" +
                     std::to_string(hi)};
  }
  return v;
}

uint16_t version(const std::string& word) {
  if (word.find('.') == std::string::npos) return static_cast<uint16_t>(number(word, 0, 0xFFFF));
  std::vector<std::string> parts;
  std::stringstream ss(word);
  for (std::string p; std::getline(ss, p, '.');) parts.push_back(p);
  if (parts.size() < 2 || parts.size() > 3) throw ParseError{"'" + word + "' is not a version"};
  const long long major = number(parts[0], 0, 15);
  const long long minor = number(parts[1], 0, 255);
  const long long patch = parts.size() == 3 ? number(parts[2], 0, 15) : 0;
  return static_cast<uint16_t>(patch << 12 | major << 8 | minor);
}

void needCount(const std::vector<std::string>& w, size_t lo, size_t hi, const char* usage) {
  if (w.size() < lo || w.size() > hi) throw ParseError{std::string("usage: ") + usage};
}

std::string unescape(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
      out += '\n';
      ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

class Parser {
 public:
  void line(int lineNumber, std::string_view raw) {
    lineNumber_ = lineNumber;
    const std::string_view text = raw.substr(0, raw.find('#'));
    const std::vector<std::string> w = splitWords(text);
    if (w.empty()) return;
    const std::string& key = w[0];
    if (key == "baud") {
      needCount(w, 2, 2, "baud N");
      s_.moduleBaud = static_cast<int>(number(w[1], 1, 4000000));
    } else if (key == "pc-search") {
      needCount(w, 2, 2, "pc-search MS");
      s_.pcSearchIntervalMs = static_cast<int>(number(w[1], 1, 60000));
    } else if (key == "no-ignition") {
      needCount(w, 1, 1, "no-ignition");
      s_.hasIgnition = false;
      openBlock(nullptr, Block::kNone);
    } else if (key == "ignition") {
      needCount(w, 1, 1, "ignition");
      s_.hasIgnition = true;
      openBlock(&s_.ignition, Block::kIgnition);
    } else if (key == "module") {
      needCount(w, 2, 2, "module ADDR");
      const int a = static_cast<int>(number(w[1], 0, 255));
      if (!isModuleAddress(a)) {
        throw ParseError{"'" + w[1] + "' is not a display or logger address" +
                         (a == 0xE0 ? " (use 'ignition')" : "")};
      }
      for (const ModuleSetup& m : s_.modules) {
        if (m.address == a) throw ParseError{"module " + w[1] + " is listed twice"};
      }
      openBlock(nullptr, Block::kNone);
      s_.modules.push_back(ModuleSetup(static_cast<uint8_t>(a)));
      openBlock(&s_.modules.back(), Block::kModule);
    } else if (key == "serial-module") {
      needCount(w, 1, 1, "serial-module");
      openBlock(nullptr, Block::kNone);
      s_.serialModules.push_back(ModuleSetup(0x20));
      openBlock(&s_.serialModules.back(), Block::kSerial);
    } else if (key == "fault") {
      fault(w);
    } else if (key == "inject") {
      inject(w);
    } else {
      moduleLine(w, text);
    }
  }

  Scenario take() {
    openBlock(nullptr, Block::kNone);
    return std::move(s_);
  }

 private:
  // Closing a block checks what only the whole block can tell.
  enum class Block { kNone, kIgnition, kModule, kSerial };

  void openBlock(ModuleSetup* next, Block kind) {
    if (block_ == Block::kSerial) {
      if (!current_->serial) throw ParseError{"serial-module without a serial number", blockLine_};
      for (const ModuleSetup& m : s_.serialModules) {
        if (&m != current_ && m.serial == current_->serial) {
          throw ParseError{"serial number " + std::to_string(*m.serial) + " is used twice",
                           blockLine_};
        }
      }
    }
    current_ = next;
    block_ = kind;
    blockLine_ = lineNumber_;
  }

  ModuleSetup& module(const std::string& key) {
    if (!current_) throw ParseError{"'" + key + "' outside a module block"};
    return *current_;
  }

  ModuleSetup& ignitionOnly(const std::string& key) {
    ModuleSetup& m = module(key);
    if (block_ != Block::kIgnition) throw ParseError{"'" + key + "' is for the ignition only"};
    return m;
  }

  void moduleLine(const std::vector<std::string>& w, std::string_view text) {
    const std::string& key = w[0];
    if (key == "type") {
      needCount(w, 2, 2, "type W");
      module(key).typeWord = static_cast<uint16_t>(number(w[1], 0, 0xFFFF));
    } else if (key == "firmware") {
      needCount(w, 2, 2, "firmware V");
      module(key).firmwareVersion = version(w[1]);
    } else if (key == "required") {
      needCount(w, 2, 2, "required V");
      module(key).requiredSoftwareVersion = version(w[1]);
    } else if (key == "period") {
      needCount(w, 2, 2, "period W");
      module(key).period = static_cast<uint16_t>(number(w[1], 0, 0xFFFF));
    } else if (key == "serial") {
      needCount(w, 2, 2, "serial N");
      module(key).serial = static_cast<uint32_t>(number(w[1], 0, 99999999));
    } else if (key == "asleep") {
      needCount(w, 1, 1, "asleep");
      module(key).asleep = true;
    } else if (key == "silent") {
      needCount(w, 1, 1, "silent");
      module(key).answers = false;
    } else if (key == "mem" || key == "info") {
      needCount(w, 3, 300, key == "mem" ? "mem ADDR B..." : "info ADDR B...");
      ModuleSetup& m = key == "mem" ? module(key) : ignitionOnly(key);
      const long long last = key == "mem" ? 255 : 254;
      const long long start = number(w[1], 0, last);
      if (start + static_cast<long long>(w.size()) - 3 > last) {
        throw ParseError{"bytes run past address " + std::to_string(last)};
      }
      auto& cells = key == "mem" ? m.memory : m.info;
      for (size_t i = 2; i < w.size(); ++i) {
        cells[static_cast<uint8_t>(start + i - 2)] = static_cast<uint8_t>(number(w[i], 0, 255));
      }
    } else if (key == "live") {
      needCount(w, 3, 3, "live INDEX W");
      ModuleSetup& m = module(key);
      m.liveValues[static_cast<uint8_t>(number(w[1], 0, 255))] =
          static_cast<uint16_t>(number(w[2], 0, 0xFFFF));
    } else if (key == "status") {
      needCount(w, 3, 3, "status INDEX B");
      ModuleSetup& m = module(key);
      m.statusBytes[static_cast<uint8_t>(number(w[1], 0, 5))] =
          static_cast<uint8_t>(number(w[2], 0, 255));
    } else if (key == "readonly") {
      needCount(w, 2, 257, "readonly ADDR...");
      ModuleSetup& m = module(key);
      for (size_t i = 1; i < w.size(); ++i) {
        m.readOnly.push_back(static_cast<uint8_t>(number(w[i], 0, 255)));
      }
    } else if (key == "pin") {
      needCount(w, 2, 2, "pin HEX");
      ignitionOnly(key).pin = static_cast<uint16_t>(number(w[1], 0, 0xFFFF, 16));
    } else if (key == "pin-given") {
      needCount(w, 1, 1, "pin-given");
      ignitionOnly(key).pinGiven = true;
    } else if (key == "info-text") {
      ModuleSetup& m = ignitionOnly(key);
      std::string_view rest = text.substr(text.find("info-text") + 9);
      while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
      while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t' || rest.back() == '\r')) {
        rest.remove_suffix(1);
      }
      std::vector<std::string> texts;
      size_t from = 0;
      for (;;) {
        const size_t bar = rest.find('|', from);
        texts.push_back(unescape(rest.substr(from, bar - from)));
        if (bar == std::string_view::npos) break;
        from = bar + 1;
      }
      if (texts.size() != 4) throw ParseError{"usage: info-text A|B|C|D (four texts)"};
      m.info = infoFromTexts(texts);
    } else if (key == "engine") {
      needCount(w, 2, 2, "engine RPM");
      LogModeSetup& l = ignitionOnly(key).logMode;
      l.fromRpm = l.toRpm = static_cast<int>(number(w[1], 1, kMaxRpm));
      l.rampMs = 0;
    } else if (key == "engine-ramp") {
      needCount(w, 4, 4, "engine-ramp FROM TO MS");
      LogModeSetup& l = ignitionOnly(key).logMode;
      l.fromRpm = static_cast<int>(number(w[1], 1, kMaxRpm));
      l.toRpm = static_cast<int>(number(w[2], 1, kMaxRpm));
      l.rampMs = static_cast<int>(number(w[3], 1, 3600000));
    } else if (key == "misfire" || key == "corrupt-packet") {
      needCount(w, 2, 1000, key == "misfire" ? "misfire N..." : "corrupt-packet N...");
      LogModeSetup& l = ignitionOnly(key).logMode;
      auto& list = key == "misfire" ? l.misfires : l.corruptPackets;
      for (size_t i = 1; i < w.size(); ++i) {
        list.push_back(static_cast<int>(number(w[i], 1, 100000000)));
      }
    } else if (key.rfind("wheel", 0) == 0) {
      wheelLine(w);
    } else if (key == "bootloader" || key.rfind("boot-", 0) == 0 || key.rfind("flash", 0) == 0) {
      bootloaderLine(w);
    } else {
      throw ParseError{"unknown keyword '" + key + "'"};
    }
  }

  // The trigger wheel the ignition's oscilloscope mode samples.
  void wheelLine(const std::vector<std::string>& w) {
    const std::string& key = w[0];
    TriggerWheelSetup& t = ignitionOnly(key).wheel;
    if (key == "wheel") {
      needCount(w, 3, 3, "wheel TEETH MISSING");
      t.teeth = static_cast<int>(number(w[1], 2, 255));
      t.missing = static_cast<int>(number(w[2], 0, t.teeth - 1));
    } else if (key == "wheel-rpm") {
      needCount(w, 2, 2, "wheel-rpm RPM");
      t.fromRpm = t.toRpm = static_cast<int>(number(w[1], 1, kMaxRpm));
      t.rampMs = 0;
    } else if (key == "wheel-ramp") {
      needCount(w, 4, 4, "wheel-ramp FROM TO MS");
      t.fromRpm = static_cast<int>(number(w[1], 1, kMaxRpm));
      t.toRpm = static_cast<int>(number(w[2], 1, kMaxRpm));
      t.rampMs = static_cast<int>(number(w[3], 1, 3600000));
    } else if (key == "wheel-inverted") {
      needCount(w, 1, 1, "wheel-inverted");
      t.inverted = true;
    } else if (key == "wheel-absent") {
      needCount(w, 2, 256, "wheel-absent N...");
      for (size_t i = 1; i < w.size(); ++i) {
        t.absentTeeth.push_back(static_cast<int>(number(w[i], 1, 255)));
      }
    } else if (key == "wheel-extra-tooth") {
      needCount(w, 1, 1, "wheel-extra-tooth");
      t.extraTooth = true;
    } else {
      throw ParseError{"unknown keyword '" + key + "'"};
    }
  }

  void bootloaderLine(const std::vector<std::string>& w) {
    const std::string& key = w[0];
    ModuleSetup& m = module(key);
    if (block_ == Block::kSerial) throw ParseError{"'" + key + "' is not for a serial module"};
    if (key == "bootloader") {
      needCount(w, 2, 2, "bootloader BAUD");
      BootloaderSetup b;
      b.baud = static_cast<int>(number(w[1], 1, 4000000));
      if (b.baud != 4800 && b.baud != 9600 && b.baud != 19200)
        throw ParseError{"bootloader baud rate must be 4800, 9600 or 19200"};
      m.bootloader = b;
      return;
    }
    if (!m.bootloader) throw ParseError{"'" + key + "' before 'bootloader BAUD'"};
    BootloaderSetup& b = *m.bootloader;
    auto u32 = [](const std::string& word) {
      return static_cast<uint32_t>(number(word, 0, 0xFFFFFFFFLL));
    };
    if (key == "boot-defective") {
      needCount(w, 1, 1, "boot-defective");
      b.startsInBootloader = true;
    } else if (key == "boot-version") {
      needCount(w, 2, 2, "boot-version W");
      b.version = static_cast<uint16_t>(number(w[1], 0, 0xFFFF));
    } else if (key == "boot-id") {
      needCount(w, 2, 2, "boot-id W");
      b.deviceId = static_cast<uint16_t>(number(w[1], 0, 0xFFFF));
    } else if (key == "boot-number") {
      needCount(w, 2, 2, "boot-number N");
      b.firmwareNumber = u32(w[1]);
    } else if (key == "flash") {
      needCount(w, 4, 4, "flash SIZE ERASE WRITE");
      b.flashSize = static_cast<uint32_t>(number(w[1], 16, 16 << 20));
      b.eraseBlock = static_cast<uint32_t>(number(w[2], 1, 1 << 20));
      b.writeBlock = static_cast<uint32_t>(number(w[3], 16, 1 << 20));
    } else if (key == "flash-ms") {
      needCount(w, 3, 3, "flash-ms ERASE WRITE");
      b.eraseMs = static_cast<int>(number(w[1], 0, 60000));
      b.writeMs = static_cast<int>(number(w[2], 0, 60000));
    } else if (key == "boot-timing") {
      needCount(w, 3, 3, "boot-timing ANNOUNCE_MS WAIT_MS");
      b.announceMs = static_cast<int>(number(w[1], 1, 60000));
      b.bootWaitMs = static_cast<int>(number(w[2], 0, 3600000));
    } else if (key == "boot-version-at") {
      needCount(w, 2, 2, "boot-version-at ADDR");
      b.versionAt = u32(w[1]);
    } else if (key == "boot-fault") {
      needCount(w, 3, 3, "boot-fault KIND N");
      const int n = static_cast<int>(number(w[2], w[1] == "refuse-erase" ? 0 : 1, 1000000000));
      if (w[1] == "drop-line") {
        b.dropLineAfterChunk = n;
      } else if (w[1] == "power-cycle") {
        b.powerCycleAfterChunk = n;
      } else if (w[1] == "corrupt-reply") {
        b.corruptReply.push_back(n);
      } else if (w[1] == "refuse-erase") {
        b.refuseErase.push_back(n);
      } else {
        throw ParseError{"unknown bootloader fault '" + w[1] + "'"};
      }
    } else {
      throw ParseError{"unknown keyword '" + key + "'"};
    }
  }

  static ByteFault byteFault(const std::vector<std::string>& w, const char* usage) {
    needCount(w, 4, 4, usage);
    return ByteFault{static_cast<int>(number(w[2], 1, 1000000000)),
                     static_cast<int>(number(w[3], 0, 3))};
  }

  void fault(const std::vector<std::string>& w) {
    if (w.size() < 2) throw ParseError{"usage: fault KIND ..."};
    Faults& f = s_.faults;
    const std::string& kind = w[1];
    if (kind == "drop-reply") {
      f.dropReply.push_back(byteFault(w, "fault drop-reply FRAME BYTE"));
    } else if (kind == "corrupt-reply") {
      f.corruptReply.push_back(byteFault(w, "fault corrupt-reply FRAME BYTE"));
    } else if (kind == "drop-echo") {
      f.dropEcho.push_back(byteFault(w, "fault drop-echo FRAME BYTE"));
    } else if (kind == "corrupt-echo") {
      f.corruptEcho.push_back(byteFault(w, "fault corrupt-echo FRAME BYTE"));
    } else if (kind == "no-echo") {
      needCount(w, 2, 2, "fault no-echo");
      f.noEcho = true;
    } else if (kind == "wrong-echo") {
      needCount(w, 2, 3, "fault wrong-echo [FRAME]");
      f.wrongEcho.push_back(w.size() == 3 ? static_cast<int>(number(w[2], 1, 1000000000)) : 0);
    } else if (kind == "foreign-stream") {
      needCount(w, 2, 2, "fault foreign-stream");
      f.foreignStream = true;
    } else if (kind == "silent-after") {
      needCount(w, 3, 4, "fault silent-after FRAME [ADDR]");
      SilentAfter s{static_cast<int>(number(w[2], 0, 1000000000)), 0};
      if (w.size() == 4) {
        const int a = static_cast<int>(number(w[3], 0, 255));
        if (a != 0xE0 && !isModuleAddress(a))
          throw ParseError{"'" + w[3] + "' is not a module address"};
        s.address = static_cast<uint8_t>(a);
      }
      f.silentAfter.push_back(s);
    } else {
      throw ParseError{"unknown fault '" + kind + "'"};
    }
  }

  void inject(const std::vector<std::string>& w) {
    needCount(w, 4, 4100, "inject after-frame F B... | inject at-ms T B...");
    Injection inj;
    if (w[1] == "after-frame") {
      inj.afterFrame = static_cast<int>(number(w[2], 1, 1000000000));
    } else if (w[1] == "at-ms") {
      inj.atMs = number(w[2], 0, 1000000000);
    } else {
      throw ParseError{"unknown injection '" + w[1] + "' (after-frame or at-ms)"};
    }
    for (size_t i = 3; i < w.size(); ++i)
      inj.bytes.push_back(static_cast<uint8_t>(number(w[i], 0, 255)));
    s_.faults.injections.push_back(std::move(inj));
  }

  Scenario s_;
  ModuleSetup* current_ = nullptr;
  Block block_ = Block::kNone;
  int lineNumber_ = 0;
  int blockLine_ = 0;
};

}  // namespace

ScenarioResult parseScenario(std::string_view text) {
  Parser parser;
  int lineNumber = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    const size_t end = std::min(text.find('\n', pos), text.size());
    ++lineNumber;
    try {
      parser.line(lineNumber, text.substr(pos, end - pos));
    } catch (const ParseError& e) {
      return {std::nullopt,
              "line " + std::to_string(e.line ? e.line : lineNumber) + ": " + e.message};
    }
    pos = end + 1;
  }
  Scenario s;
  try {
    s = parser.take();
  } catch (const ParseError& e) {
    return {std::nullopt, "line " + std::to_string(e.line) + ": " + e.message};
  }
  if (std::string e = validateScenario(s); !e.empty()) return {std::nullopt, e};
  return {std::move(s), {}};
}

ScenarioResult loadScenarioFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {std::nullopt, "cannot open scenario file '" + path + "'"};
  std::stringstream ss;
  ss << in.rdbuf();
  ScenarioResult r = parseScenario(ss.str());
  if (!r.scenario) r.error = path + ": " + r.error;
  return r;
}

}  // namespace sim
