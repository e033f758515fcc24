#include "cli_commands.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <vector>

#include "display_commands.h"
#include "logger_commands.h"
#include "firmware_commands.h"
#include "ignition_commands.h"
#include "link/port_scan.h"
#include "shell/version_text.h"
#include "texts/text_ids.h"
#include "trigger_commands.h"

namespace cli {

const char* const kUsage =
    "Usage: tunvexa-cli [--com N] COMMAND [ARGUMENTS]\n"
    "\n"
    "Talks to the modules on the bus through the adapter on COM N (1-99). Without\n"
    "--com the port of the settings file's key ComPort is used, like the GUI does.\n"
    "Numbers may be written as decimal or as 0x hex.\n"
    "\n"
    "Commands:\n"
    "  ports                        list the COM ports that can be opened\n"
    "  version ADDR                 firmware version of the module at bus address ADDR\n"
    "  type ADDR                    type word of the module at ADDR\n"
    "  read-byte ADDR MEM           memory byte MEM (0-255) of the module at ADDR\n"
    "  write-byte ADDR MEM VALUE    write VALUE (0-255) to memory byte MEM, confirmed\n"
    "  dump ADDR                    all 256 memory bytes of the module at ADDR\n"
    "  serial ADDR                  serial number of the module at ADDR\n"
    "  search                       find the modules that are selected by serial number\n"
    "  ignition read --out FILE [--pin PIN] [--dump]\n"
    "                               read the ignition module and save its settings file\n"
    "                               (--dump adds the module's memory image to the file)\n"
    "  ignition write --in FILE [--yes] [--pin PIN]\n"
    "                               load a settings file and write it to the ignition\n"
    "                               (--yes: write even when the firmware is old)\n"
    "  ignition show                read the ignition module and print its settings\n"
    "  ignition pin set NEW [--pin OLD] [--lock on|off]\n"
    "                               give the ignition a new PIN (the present one with\n"
    "                               --pin) and switch \"Zünden sperren\" on or off\n"
    "  ignition info --in FILE [--set FIELD=TEXT ... --out FILE]\n"
    "                               the vehicle information of a settings file; --set\n"
    "                               Hersteller, Typ, Ausfuehrung or Kommentar (\\n: line\n"
    "                               break) and save it as --out\n"
    "  ignition channels --in FILE  the channel table of a settings file as a grid\n"
    "  KIND read --out FILE         read a display module (KIND: gear, tank, shift,\n"
    "                               poti, oil, stopwatch, rally) into its settings\n"
    "                               file, or for oil, stopwatch and rally a text of\n"
    "                               the page's fields\n"
    "  KIND write --in FILE         write such a file to the display module (bar too)\n"
    "  KIND test                    the display test (gear, tank, shift, poti, rally,\n"
    "                               bar)\n"
    "  KIND show --in FILE          print the fields of such a file\n"
    "  bar write|test [--in FILE] [--serial N]\n"
    "                               the bar display by its serial number (from the\n"
    "                               file or --serial); it cannot be read\n"
    "  firmware info FILE           describe a firmware file (*.blf): format, family,\n"
    "                               image kind and one line per section (type id,\n"
    "                               version, baud rate, length, checksum); exit 2\n"
    "                               with the message when a section cannot be loaded\n"
    "  firmware update FILE [--yes] [--passive] [--serial N] [--type N] [--backup]\n"
    "                               update a module's firmware: restart the module\n"
    "                               into its bootloader (or with --passive, and for\n"
    "                               files without a family, wait for a bootloader\n"
    "                               that announces itself); questions are answered\n"
    "                               no unless --yes; --serial/--type answer the\n"
    "                               questions for a module with defective firmware;\n"
    "                               --backup saves an ignition's settings into the\n"
    "                               firmware folder first; progress on stderr; exit 0\n"
    "                               only after \"Programmierung erfolgreich beendet.\"\n"
    "  trigger analyse FILE [--teeth N] [--gap N]\n"
    "                               gap analysis of a Taktora recording (*.dat) or raw\n"
    "                               capture: samples, the gaps with their sample\n"
    "                               positions, the teeth between gaps; with --teeth\n"
    "                               and --gap exit 2 unless they match that wheel\n"
    "  trigger export FILE OUT.csv [--channel A|B|both]\n"
    "                               the samples, oldest first, as CSV (index; level)\n"
    "  carlogger convert --vehicle FILE [--at TIME] [--csv] IN OUT\n"
    "                               convert a car logger's LogDatei.bin; the text also\n"
    "                               leaves the raw copy OUT.bin and the stream times in\n"
    "                               ./LogDatei.txt\n"
    "  lambda convert [--at TIME] [--csv] IN OUT\n"
    "                               convert the lambda display's log (and OUT-Dump.bin)\n"
    "  carlogger prepare --hours N FOLDER\n"
    "                               create the empty LogDatei.bin for N hours (1-1000)\n"
    "  carlogger clock [--ignition] [--zor] [--9600] [--at TIME]\n"
    "                               set the car logger's clock and recording options\n"
    "  carlogger live [--count N] [--vehicle FILE]\n"
    "                               print N live records (default 10; the vehicle file\n"
    "                               of the settings key NameCarLogger without --vehicle)\n"
    "  lambda read                  read the lambda display's brightness\n"
    "  lambda write --day N --night N\n"
    "  rpmlogger read|clear         the rpm logger's limit and statistics\n"
    "  rpmlogger write --limit N [--cylinders N] [--strokes N]\n"
    "  seriallogger read            the serial logger's mode, rate and fields\n"
    "  seriallogger write [--mode standard|selektiv|dso|zor] [--rate N] [--id N]\n"
    "                     [--mask N] [--bytes N] [--crc N] [--at TIME]\n"
    "                               (--rate in baud, in Hz for dso)\n"
    "  seriallogger prepare --mb N FOLDER\n"
    "                               create the empty LogDatei.bin of N MByte (1-999)\n"
    "  seriallogger copy [--erase] LOG OUT\n"
    "                               copy the recorded part of LOG to OUT (--erase: then\n"
    "                               erase it in LOG)\n"
    "                               TIME is \"YYYY-MM-DD HH:MM:SS\" (default: now), so a\n"
    "                               conversion can be repeated byte for byte; --csv\n"
    "                               writes CSV (dot, commas, ISO 8601 times)\n"
    "\n"
    "PIN is the module's PIN as typed in the program (1-4 hexadecimal digits); it\n"
    "is given when the module asks for one.\n"
    "Bus addresses are the high nibble of the frame's first byte, e.g. 0xE0 for the\n"
    "ignition, 0x90 for the tank display.\n"
    "On success the result is printed and the exit status is 0; on failure the\n"
    "message of the failure is printed and the exit status is 2. The ignition\n"
    "commands print every message the program would show, one per line, and end\n"
    "with 0 after \"Lesen Ok\" or \"Schreiben Ok\".\n";

bool parseNumber(const std::string& text, uint32_t max, uint32_t& value) {
  if (text.empty()) return false;
  int base = 10;
  const char* digits = text.c_str();
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    digits += 2;
  }
  if (*digits == '\0' || *digits == '-' || *digits == '+' || *digits == ' ') return false;
  errno = 0;
  char* end = nullptr;
  unsigned long v = std::strtoul(digits, &end, base);
  if (errno != 0 || *end != '\0' || v > max) return false;
  value = static_cast<uint32_t>(v);
  return true;
}

namespace {

std::string hex(uint32_t value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%0*X", width, value);
  return buf;
}

// A bus address names a module by its high nibble.
bool parseAddress(const std::string& text, uint8_t& address) {
  uint32_t v = 0;
  if (!parseNumber(text, 0xFF, v) || (v & 0x0F) != 0) return false;
  address = static_cast<uint8_t>(v);
  return true;
}

int32_t listPorts(buslink::ModuleLink& link, std::ostream& out) {
  std::vector<int32_t> ports = buslink::openablePorts(link);
  for (int32_t n : ports) out << "COM" << n << "\n";
  return ports.empty() ? texts::kTextNoFreeComPort : 0;
}

int32_t dump(buslink::ModuleLink& link, std::ostream& out) {
  uint8_t memory[256];
  for (int a = 0; a < 256; ++a) {
    int32_t e = link.readByte(static_cast<uint8_t>(a), memory[a]);
    if (e != 0) return e;
  }
  for (int row = 0; row < 16; ++row) {
    char line[64];
    int n = std::snprintf(line, sizeof line, "%02X:", row * 16);
    for (int i = 0; i < 16; ++i)
      n += std::snprintf(line + n, sizeof line - n, " %02X", memory[row * 16 + i]);
    out << line << "\n";
  }
  return 0;
}

int32_t search(buslink::ModuleLink& link, std::ostream& out) {
  buslink::FoundModuleTable table;
  int32_t count = link.searchModules(table);
  if (count > buslink::kMaxFoundModules) return count;
  if (count == 1 && table[0].serial == 0) return 1;  // the PC search failed and was reported
  if (count == 0) return texts::kTextModuleNotFound;
  for (int i = 0; i < count; ++i) {
    char line[80];
    std::snprintf(line, sizeof line, "serial %07X type 0x%02X%02X", table[i].serial,
                  table[i].typeHigh, table[i].typeLow);
    out << line << "\n";
  }
  return 0;
}

}  // namespace

int32_t runCommand(buslink::ModuleLink& link, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err) {
  auto usage = [&](const char* why) {
    err << "tunvexa-cli: " << why << "\n\n" << kUsage;
    return -1;
  };
  if (args.empty()) return usage("no command given");
  const std::string& cmd = args[0];
  auto argc = [&](size_t n) { return args.size() == n + 1; };

  if (cmd == "ports") {
    if (!argc(0)) return usage("ports takes no arguments");
    return listPorts(link, out);
  }
  if (cmd == "search") {
    if (!argc(0)) return usage("search takes no arguments");
    return search(link, out);
  }
  if (cmd == "firmware") {
    int32_t r = runFirmwareCommand(link, {args.begin() + 1, args.end()}, out, err);
    if (r == -1) err << "\n" << kUsage;
    return r;
  }
  if (cmd == "trigger") {
    int32_t r = runTriggerCommand({args.begin() + 1, args.end()}, out, err);
    if (r == -1) err << "\n" << kUsage;
    return r;
  }
  if (isDisplayCommand(cmd)) {
    int32_t r = runDisplayCommand(link, args, out, err);
    if (r == -1) err << "\n" << kUsage;
    return r;
  }
  if (isLoggerCommand(cmd)) {
    int32_t r = runLoggerCommand(link, args, out, err);
    if (r == -1) err << "\n" << kUsage;
    return r;
  }
  if (cmd == "ignition") {
    int32_t r = runIgnitionCommand(link, {args.begin() + 1, args.end()}, out, err);
    if (r == -1) err << "\n" << kUsage;
    return r;
  }

  uint8_t address = 0;
  uint32_t mem = 0;
  uint32_t value = 0;
  bool known = cmd == "version" || cmd == "type" || cmd == "dump" || cmd == "serial" ||
               cmd == "read-byte" || cmd == "write-byte";
  if (!known) return usage(("unknown command: " + cmd).c_str());
  size_t wanted = cmd == "read-byte" ? 2 : cmd == "write-byte" ? 3 : 1;
  if (!argc(wanted)) return usage(("wrong number of arguments for " + cmd).c_str());
  if (!parseAddress(args[1], address))
    return usage("ADDR must be a bus address 0x00-0xF0 (low nibble 0)");
  if (wanted >= 2 && !parseNumber(args[2], 0xFF, mem)) return usage("MEM must be 0-255");
  if (wanted == 3 && !parseNumber(args[3], 0xFF, value)) return usage("VALUE must be 0-255");

  int32_t e = link.selectModule(address);
  if (e != 0) return e;
  if (cmd == "version") {
    uint16_t v = 0;
    e = link.readFirmwareVersion(v);
    if (e == 0) out << shell::versionText(v) << "\n";
  } else if (cmd == "type") {
    uint16_t t = 0;
    e = link.readTypeId(t);
    if (e == 0) out << hex(t, 4) << "\n";
  } else if (cmd == "read-byte") {
    uint8_t b = 0;
    e = link.readByte(static_cast<uint8_t>(mem), b);
    if (e == 0) out << static_cast<int>(b) << "\n";
  } else if (cmd == "write-byte") {
    e = link.writeByte(static_cast<uint8_t>(mem), value);
    if (e == 0) out << value << "\n";
  } else if (cmd == "dump") {
    e = dump(link, out);
  } else if (cmd == "serial") {
    uint32_t serial = 0;
    e = link.readSerialNumber(serial);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%07u", serial);
    if (e == 0) out << buf << "\n";
  }
  return e;
}

}  // namespace cli
