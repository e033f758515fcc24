#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "link/module_link.h"
#include "platform/clock.h"

// The serial logger at 0x50: what it records from a serial line and at
// which rate.
namespace loggers {

constexpr uint8_t kSerialLoggerAddress = 0x50;
constexpr uint16_t kSerialLoggerMinVersion = 0x0101;

enum class SerialMode : uint8_t { Standard = 0, Selective = 1, Dso = 2, Zor = 16 };

constexpr std::array<int32_t, 12> kBaudRates = {110,  300,   600,   1200,  2400,  4800,
                                                9600, 10400, 14400, 19200, 38400, 57600};
constexpr std::array<int32_t, 12> kSampleRates = {20,   50,   100,   200,   500,   1000,
                                                  2000, 5000, 10000, 20000, 50000, 100000};
constexpr int kIndex19200 = 9;
constexpr int kIndex9600 = 6;
constexpr int kIndex10kHz = 8;

struct SerialLoggerSettings {
  SerialMode mode = SerialMode::Standard;
  int rateIndex = kIndex19200;  // into kBaudRates, or kSampleRates in DSO mode
  int32_t identifier = 59;      // "Kennung"
  int32_t mask = 255;           // "Maskierung"
  int32_t byteCount = 4;        // "Bytezahl"
  int32_t crc = 0;              // "CRC"
  int32_t logMegabytes = 5;     // size of the card's log file
};

// "%i Baud", "%i Hz" below 1000, else "%i kHz".
std::string rateText(int index, bool dso);
// The rate a divisor gives: 16000000 / ((d + 1) x 16), in DSO mode
// 16000000 / (d x 4 + 4).
int32_t rateFromDivisor(uint16_t d, bool dso);
// ((160000000 / t) + 5) / 10 - 1 with t = baud x 16 (sample rate x 4 in DSO
// mode); may not fit the module's word (see writeSerialLogger).
int32_t divisorForRate(int32_t rate, bool dso);
// The first table entry within 5 % of `rate`, else 19200 baud (10 kHz).
int rateIndexFor(int32_t rate, bool dso);
// Options byte 6 for a mode: 16 selective and ZOR, 8 DSO, 0 standard.
uint8_t modeOptions(SerialMode mode);
// The mode a mode byte stands for; unknown bytes are "Standard".
SerialMode modeFromByte(uint8_t b);
// What choosing a mode does to the other settings: the list is filled anew
// (19200 baud; 10 kHz in DSO mode); ZOR takes 9600 baud and 59, 255, 4, 90.
void switchMode(SerialLoggerSettings& s, SerialMode mode);
// The fields are editable in "Selektiv" only, the list in every mode but ZOR.
inline bool fieldsEnabled(SerialMode m) {
  return m == SerialMode::Selective;
}
inline bool rateListEnabled(SerialMode m) {
  return m != SerialMode::Zor;
}

// 8052; the link error of the selection or version read; 8055 for firmware
// older than 1.1; 8051 when a read fails.
int32_t readSerialLogger(buslink::ModuleLink& link, SerialLoggerSettings& s,
                         std::string& versionText);
// Mode, options, divisor, the four fields and the clock from `now`. 8050;
// 8045 for a rate whose divisor does not fit the module's word (nothing is
// sent); 8055; the link error of the selection or version read; 8048 when a
// write fails.
int32_t writeSerialLogger(buslink::ModuleLink& link, const SerialLoggerSettings& s,
                          const platform::LocalTime& now, std::string& versionText);

}  // namespace loggers
