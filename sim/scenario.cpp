#include "sim/scenario.h"

#include <set>

namespace sim {

std::map<uint8_t, uint8_t> infoFromTexts(const std::vector<std::string>& texts) {
  std::map<uint8_t, uint8_t> info;
  int a = 0;
  for (const std::string& t : texts) {
    for (char c : t) {
      if (a >= 255) return info;
      info[static_cast<uint8_t>(a++)] = static_cast<uint8_t>(c);
    }
    if (a >= 255) return info;
    info[static_cast<uint8_t>(a++)] = 0;
  }
  return info;
}

bool isModuleAddress(int address) {
  return address == 0x20 ||
         (address >= 0x40 && address <= 0xF0 && address != 0xE0 && (address & 0x0F) == 0);
}

namespace {

std::string validateModule(const ModuleSetup& m, const std::string& name) {
  for (const auto& [index, value] : m.statusBytes) {
    if (index > 5) return name + ": status index " + std::to_string(index) + " is not 0-5";
    (void)value;
  }
  if (m.serial && *m.serial > 99999999) return name + ": serial number has more than 8 digits";
  for (const auto& [a, value] : m.info) {
    if (a > 254) return name + ": vehicle information ends at address 254";
    (void)value;
  }
  const LogModeSetup& l = m.logMode;
  if (l.fromRpm < 0 || l.toRpm < 0 || l.rampMs < 0)
    return name + ": engine speeds and ramp time must not be negative";
  if (l.fromRpm == 0 && (l.toRpm != 0 || l.rampMs != 0))
    return name + ": an engine ramp needs its starting speed";
  if (l.rampMs > 0 && l.toRpm == 0) return name + ": an engine ramp needs its final speed";
  if (const auto& b = m.bootloader) {
    auto power = [](uint32_t v) { return v != 0 && (v & (v - 1)) == 0; };
    if (b->baud != 4800 && b->baud != 9600 && b->baud != 19200)
      return name + ": bootloader baud rate is not 4800, 9600 or 19200";
    if (b->flashSize == 0 || !power(b->eraseBlock) || !power(b->writeBlock) || b->writeBlock < 16 ||
        b->eraseBlock > b->flashSize || b->writeBlock > b->flashSize)
      return name + ": flash blocks must be powers of two within the flash (write block >= 16)";
    if (b->announceMs <= 0) return name + ": bootloader announce interval must be positive";
    if (b->versionAt && *b->versionAt + 3 > b->flashSize)
      return name + ": version address lies outside the flash";
  }
  return {};
}

bool hasLogMode(const ModuleSetup& m) {
  const LogModeSetup& l = m.logMode;
  return l.fromRpm != 0 || l.toRpm != 0 || l.rampMs != 0 || !l.misfires.empty() ||
         !l.corruptPackets.empty();
}

std::string hex(int v) {
  static const char* digits = "0123456789ABCDEF";
  return std::string("0x") + digits[(v >> 4) & 15] + digits[v & 15];
}

}  // namespace

std::string validateScenario(const Scenario& s) {
  if (s.moduleBaud <= 0) return "baud rate must be positive";
  if (s.pcSearchIntervalMs < 0) return "pc-search interval must not be negative";
  if (s.hasIgnition) {
    if (s.ignition.address != 0xE0) return "the ignition sits at 0xE0";
    if (std::string e = validateModule(s.ignition, "ignition"); !e.empty()) return e;
  }
  std::set<int> seen;
  for (const ModuleSetup& m : s.modules) {
    const std::string name = "module " + hex(m.address);
    if (!isModuleAddress(m.address)) return name + ": not a display or logger address";
    if (!seen.insert(m.address).second) return name + ": listed twice";
    if (std::string e = validateModule(m, name); !e.empty()) return e;
    if (m.pin != 0 || m.pinGiven || !m.info.empty())
      return name + ": PIN and vehicle information are ignition only";
    if (hasLogMode(m)) return name + ": the log mode is the ignition's only";
  }
  std::set<uint32_t> serials;
  for (const ModuleSetup& m : s.serialModules) {
    if (!m.serial) return "serial module without a serial number";
    const std::string name = "serial module " + std::to_string(*m.serial);
    if (!serials.insert(*m.serial).second) return name + ": serial number listed twice";
    if (std::string e = validateModule(m, name); !e.empty()) return e;
    if (m.pin != 0 || m.pinGiven || !m.info.empty())
      return name + ": PIN and vehicle information are ignition only";
    if (m.bootloader) return name + ": a module chosen by serial number has no bootloader here";
    if (hasLogMode(m)) return name + ": the log mode is the ignition's only";
  }
  return {};
}

}  // namespace sim
