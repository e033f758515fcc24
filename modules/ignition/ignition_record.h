#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "modules/ignition/capabilities.h"

namespace ignition {

// Module memory addresses of the configuration fields.
namespace addr {
constexpr uint8_t kZylinder = 0x01;
constexpr uint8_t kTakte = 0x02;
constexpr uint8_t kMaxTempRelative = 0x03;
constexpr uint8_t kLadezeit = 0x04;
constexpr uint8_t kLimiter = 0x05;
constexpr uint8_t kFlags = 0x06;
constexpr uint8_t kMaxTempAbsolute = 0x07;
constexpr uint8_t kCurve1Base = 0x00;
constexpr uint8_t kPressureA = 0x50;
constexpr uint8_t kKwZaehne = 0x63;
constexpr uint8_t kKwLuecke = 0x64;
constexpr uint8_t kSchaltBlitz = 0x65;
constexpr uint8_t kFlagsC = 0x66;
constexpr uint8_t kFlagsD = 0x67;
constexpr uint8_t kGeberModus = 0x68;
constexpr uint8_t kLimiterZahl = 0x69;
constexpr uint8_t kKorrektur = 0x70;
constexpr uint8_t kStartZeit = 0x80;
constexpr uint8_t kOffset = 0x81;
constexpr uint8_t kUnterDruckSensorF = 0x82;
constexpr uint8_t kUnterDruckSensorC = 0x83;
constexpr uint8_t kVersatz = 0x84;
constexpr uint8_t kLogModus = 0x85;
constexpr uint8_t kLadezeitUrsprung = 0x86;
constexpr uint8_t kFlagsB = 0x87;
constexpr uint8_t kCurve2Base = 0x80;
constexpr uint8_t kPressureB = 0xD0;
constexpr uint8_t kHwLimiterStart = 0xE3;
constexpr uint8_t kHwLimiterStep = 0xE4;
constexpr uint8_t kKanalTabelle = 0xE5;
constexpr uint8_t kUHkz = 0xF1;
constexpr uint8_t kWrongPinCounter = 0xF5;
constexpr uint8_t kBetriebsDauer = 0xF8;
constexpr uint8_t kSerienNummer = 0xFC;
}  // namespace addr

// Bits of the flag bytes.
namespace bits {
constexpr uint8_t kFlagsEarlySender = 1 << 2;        // "Frühgeber"
constexpr uint8_t kFlagsInverted = 1 << 3;           // "Invertierung"
constexpr uint8_t kFlagsHalfVane = 1 << 4;           // "Halbflügelerkennung"
constexpr uint8_t kFlagsWasteSpark = 1 << 5;         // "Leertakt-Z."
constexpr uint8_t kFlagsFreeOffset = 1 << 6;         // "Versatz"
constexpr uint8_t kFlagsLogging = 1 << 7;            // "Loggen"
constexpr uint8_t kFlagsBMultiChannel = 1 << 0;      // "Mehrkanal"
constexpr uint8_t kFlagsBCrankSender = 1 << 1;       // "KW-Geber"
constexpr uint8_t kFlagsBCrankPlusTdc = 1 << 2;      // "KW + OT"
constexpr uint8_t kFlagsBInductive = 1 << 3;         // "induktiv"
constexpr uint8_t kFlagsBLocked = 1 << 4;            // "Zünden sperren"
constexpr uint8_t kFlagsBRelativePressure = 1 << 5;  // "Druck relativ"
constexpr uint8_t kFlagsBFactorHalved = 1 << 6;
constexpr uint8_t kFlagsCHardLimiter = 1 << 0;
constexpr uint8_t kFlagsCQuickStart = 1 << 1;
constexpr uint8_t kFlagsCDirectMode = 1 << 5;
}  // namespace bits

constexpr int kPressurePoints = 8;
constexpr uint8_t kEndOfCurve = 255;

// The default is the one point (0, 0) that a reset record holds.
struct PressureCurve {
  std::array<uint8_t, kPressurePoints> pressure{0, 255, 255, 255, 255, 255, 255, 255};
  std::array<int8_t, kPressurePoints> angle{};
};

// Everything the ignition page reads from a module, loads from a file,
// edits and writes back, except the two rpm curves (the page's curve lists)
// and the limiter, whose authority is the page's limiter edit.
struct IgnitionRecord {
  int32_t limiterRpm = 9950;  // copy of the limiter edit, taken when writing
  int32_t Offset = 0;
  uint32_t SerienNummer = 0;
  int32_t SchaltBlitz = 9950;
  int32_t firmwareVersion = 0x702;  // version word & 0xFFF
  uint32_t firmwareVersionWord = 0x702;
  int32_t HwTyp = 0;
  int32_t directModeActive = 0;
  uint16_t pin = 0;
  int32_t pinLockedRead = 0;
  int32_t BetriebsDauer = 0;
  CapabilityRow capability;
  uint8_t Flags = 0, FlagsB = 0, FlagsC = 0, FlagsD = 0;
  uint8_t Ladezeit = 25, LadezeitUrsprung = 25;
  uint8_t Zylinder = 4, Takte = 4;
  uint8_t StartZeit = 3;
  uint8_t Versatz = 0;
  uint8_t KwZaehne = 60, KwLuecke = 2;
  uint8_t LogModus = 8, GeberModus = 0;
  std::array<int8_t, 12> Korrektur{};
  std::array<uint8_t, 256> memoryImage{};
  uint8_t UnterDruckSensorF = 122, UnterDruckSensorC = 10;
  PressureCurve UnterDruckA, UnterDruckB;
  std::array<uint8_t, 2> HwLimiter{117, 3};  // internal limiter start, step (rpm / 50)
  uint8_t LimiterZahl = 20;
  uint8_t UHkz = 18;
  std::array<uint8_t, 8> KanalTabelle{0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
  uint8_t maxTempRelative = 0, maxTempAbsolute = 255;
  std::string InfoHersteller, InfoTyp, InfoAusfuehrung, InfoKommentar;

  bool relativePressure() const { return (FlagsB & bits::kFlagsBRelativePressure) != 0; }
};

// The defaults; the limiter, the maximum temperatures and the memory image
// are left as they are (the caller clears its own validity flag).
void resetRecord(IgnitionRecord& record);

// Fills the capability row from the type word.
void deriveCapabilities(IgnitionRecord& record);

// Repairs values a module or file may hold that the module cannot use.
void applyPlausibility(IgnitionRecord& record);

// Direct mode fires at the breaker signal and ignores the curves: when the
// record asks for it, the flags that make no sense in it are cleared. True
// when direct mode is active (the caller then resets its curve lists).
bool applyDirectMode(IgnitionRecord& record);

// The offset field edits `Offset` before 0x303 and `Versatz` from then on;
// stored `Versatz` values 200-255 mean -56..-1.
inline int32_t versatzDegrees(uint8_t stored) {
  return stored >= 200 ? stored - 256 : stored;
}

// Shown values of cylinders and strokes (waste spark stores them halved).
inline int32_t shownCylinders(const IgnitionRecord& r) {
  return (r.Flags & bits::kFlagsWasteSpark) ? r.Zylinder * 2 : r.Zylinder;
}
inline int32_t shownStrokes(const IgnitionRecord& r) {
  return (r.Flags & bits::kFlagsWasteSpark) ? r.Takte * 2 : r.Takte;
}

}  // namespace ignition
