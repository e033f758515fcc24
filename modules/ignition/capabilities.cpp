#include "modules/ignition/capabilities.h"

#include <array>

namespace ignition {

namespace {

using L = DiagnosisLayout;

struct Row {
  int32_t channels;
  bool rotary, line2, sender, pointedInverts, poti, multi;
  bool noTemp, noVolt, noPoti, noPressure;
  int32_t voltageOffsetTenths;
  L layout;
};

// Codes 0-26; every code above shares the last row's neighbour "27 and above".
constexpr std::array<Row, 27> kRows = {{
    {6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, L::Default},  // 0
    {1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 3, L::A},        // 1
    {4, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 3, L::Default},  // 2
    {4, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 3, L::Default},  // 3
    {1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 3, L::A},        // 4
    {1, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 3, L::Default},  // 5
    {1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 3, L::A},        // 6
    {1, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 3, L::A},        // 7
    {4, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 3, L::Default},  // 8
    {4, 0, 0, 1, 0, 1, 1, 0, 0, 0, 0, 3, L::B},        // 9
    {4, 0, 0, 1, 0, 1, 1, 0, 0, 0, 0, 3, L::Default},  // 10
    {1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 0, 3, L::Default},  // 11
    {1, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 8, L::Default},  // 12
    {4, 0, 0, 1, 0, 1, 1, 0, 0, 0, 0, 3, L::Default},  // 13
    {1, 1, 1, 1, 0, 1, 0, 0, 0, 1, 0, 3, L::Default},  // 14
    {6, 0, 0, 1, 0, 1, 1, 0, 0, 0, 0, 3, L::Default},  // 15
    {6, 0, 1, 1, 0, 1, 1, 0, 0, 0, 0, 3, L::Default},  // 16
    {2, 0, 0, 1, 1, 0, 1, 0, 0, 0, 0, 0, L::C},        // 17
    {1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 3, L::Default},  // 18
    {6, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 3, L::Default},  // 19
    {4, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 3, L::D},        // 20
    {1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 3, L::Default},  // 21
    {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L::C},        // 22
    {1, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, L::Default},  // 23
    {8, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 3, L::E},        // 24
    {3, 0, 0, 1, 1, 0, 1, 0, 0, 0, 0, 3, L::Default},  // 25
    {2, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, L::F},        // 26
}};

constexpr Row kNewerType = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, L::Default};

// Our own model names. Codes 11, 14, 16 and 18 are the second product line
// ("Fulgo"), the rest the first ("Ignar").
constexpr std::array<const char*, 27> kNames = {
    "Hardwaretyp nicht gesetzt",
    "Ignar Mono 1",
    "Ignar Quad 2",
    "Ignar Quad 3",
    "Ignar Mono 4",
    "Ignar Mono 5 Multi",
    "Ignar Mono 6",
    "Ignar Basic 7",
    "Ignar Quad 8",
    "Ignar Quad 9 Sport",
    "Ignar Quad 10",
    "Fulgo Racing 11",
    "Ignar Mono 12",
    "Ignar Quad 13",
    "Fulgo Racing 14",
    "Ignar Hexa 15",
    "Fulgo Hexa 16",
    "Ignar Duo 17",
    "Fulgo Racing 18",
    "Ignar Hexa 19",
    "Ignar Quad 20",
    "Ignar Mono 21",
    "Ignar Duo 22",
    "Ignar Mono 23",
    "Ignar Octo 24",
    nullptr,  // 25 has no name of its own
    "Ignar Duo 26",
};

}  // namespace

CapabilityRow capabilitiesForType(int32_t hwTyp) {
  int32_t code = hardwareTypeCode(hwTyp);
  const Row& r = code < static_cast<int32_t>(kRows.size()) ? kRows[code] : kNewerType;
  CapabilityRow c;
  c.channels = r.channels;
  c.rotarySwitch = r.rotary;
  c.productLine2 = r.line2;
  c.senderQuestions = r.sender;
  c.pointedSenderInverts = r.pointedInverts;
  c.potiQuestion = r.poti;
  c.multiChannelQuestion = r.multi;
  c.noTemperature = r.noTemp;
  c.noVoltage = r.noVolt;
  c.noPoti = r.noPoti;
  c.noPressure = r.noPressure;
  c.voltageOffsetTenths = r.voltageOffsetTenths;
  c.diagnosisLayout = r.layout;
  return c;
}

std::string hardwareTypeName(int32_t hwTyp) {
  int32_t code = hardwareTypeCode(hwTyp);
  if (code < static_cast<int32_t>(kNames.size()) && kNames[code] != nullptr) return kNames[code];
  return "unbekannter oder neuer Typ";
}

}  // namespace ignition
