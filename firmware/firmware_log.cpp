#include "firmware/firmware_log.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace firmware {

namespace {

std::string versionText(uint32_t v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%01i.%01i.%01i\t", static_cast<int>((v >> 16) & 0xFF),
                static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF));
  return buf;
}

}  // namespace

std::string logLine(const LogEntry& e) {
  char head[40];
  std::snprintf(head, sizeof head, "%07x\t0x%04x\t", e.serial, static_cast<unsigned>(e.typeId));
  char when[64];
  std::snprintf(when, sizeof when, "%02i.%02i.%04i\t%02i:%02i:%02i", e.time.day, e.time.month,
                e.time.year, e.time.hour, e.time.minute, e.time.second);
  std::string line = head;
  line += versionText(e.presentVersion);
  line += versionText(e.newVersion);
  line += when;
  if (!e.settingsFile.empty()) {
    line += '\t';
    line += e.settingsFile;
  }
  line += '\n';
  return line;
}

bool appendLogLine(const std::string& folder, const LogEntry& entry) {
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) return false;
  std::ofstream out(std::filesystem::path(folder) / kFirmwareLogName,
                    std::ios::binary | std::ios::app);
  if (!out) return false;
  out << logLine(entry);
  return static_cast<bool>(out.flush());
}

std::optional<uint16_t> findTypeForSerial(const std::string& logText, uint32_t serial) {
  std::optional<uint16_t> found;
  std::istringstream lines(logText);
  std::string line;
  while (std::getline(lines, line)) {
    // Decimal on purpose: the hex field holds BCD digits, and a leading 0
    // must not turn them into an octal number.
    const char* p = line.c_str();
    char* end = nullptr;
    const unsigned long number = std::strtoul(p, &end, 10);
    if (end == p) continue;
    const char* typeStart = end;
    const unsigned long type = std::strtoul(typeStart, &end, 16);
    if (end == typeStart) continue;
    if (number == serial) found = static_cast<uint16_t>(type);
  }
  return found;
}

std::optional<uint16_t> findTypeForSerialInFolder(const std::string& folder, uint32_t serial) {
  std::ifstream in(std::filesystem::path(folder) / kFirmwareLogName, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return findTypeForSerial(text.str(), serial);
}

}  // namespace firmware
