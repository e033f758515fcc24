// The capability row of every hardware type code, checked against the table
// as the module maker publishes it.
#include "modules/ignition/capabilities.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using namespace ignition;

namespace {

// code | channels | rotary switch | product line 2 | sender questions |
// pointed sender inverts | poti question | multi-channel question |
// live-value limits | diagnosis output layout
constexpr const char* kTable = R"(
| 0 | 6 | | | | | | | | default |
| 1 | 1 | | | | | yes | | no temperature | A |
| 2 | 4 | | | | | yes | yes | | default |
| 3 | 4 | | | | | yes | yes | | default |
| 4 | 1 | | | | | yes | | no temperature | A |
| 5 | 1 | | | | | yes | yes | | default |
| 6 | 1 | | | | | yes | | no temperature | A |
| 7 | 1 | | | | | | | no voltage, no poti, no pressure | A |
| 8 | 4 | | | | | yes | yes | | default |
| 9 | 4 | | | yes | | yes | yes | | B |
| 10 | 4 | | | yes | | yes | yes | | default |
| 11 | 1 | yes | yes | yes | | | | no poti | default |
| 12 | 1 | yes | | yes | | | | no poti, voltage offset 0.8 V | default |
| 13 | 4 | | | yes | | yes | yes | | default |
| 14 | 1 | yes | yes | yes | | yes | | no poti | default |
| 15 | 6 | | | yes | | yes | yes | | default |
| 16 | 6 | | yes | yes | | yes | yes | | default |
| 17 | 2 | | | yes | yes | | yes | voltage offset 0 V | C |
| 18 | 1 | yes | yes | yes | yes | | | | default |
| 19 | 6 | | | yes | yes | yes | yes | | default |
| 20 | 4 | | | yes | yes | yes | yes | | D |
| 21 | 1 | | | yes | | | | | default |
| 22 | 1 | | | | | | | voltage offset 0 V | C |
| 23 | 1 | | | yes | yes | | | voltage offset 0 V | default |
| 24 | 8 | | | yes | yes | yes | yes | | E |
| 25 | 3 | | | yes | yes | | yes | | default |
| 26 | 2 | | | | | | | no poti, no pressure, voltage offset 0 V | F |
| 27 and above | 1 | | | | | | | | default |
)";

std::string trim(const std::string& s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::vector<std::string> cells(const std::string& line) {
  std::vector<std::string> out;
  std::stringstream in(line.substr(1));
  std::string cell;
  while (std::getline(in, cell, '|')) out.push_back(trim(cell));
  return out;
}

DiagnosisLayout layoutOf(const std::string& text) {
  if (text == "A") return DiagnosisLayout::A;
  if (text == "B") return DiagnosisLayout::B;
  if (text == "C") return DiagnosisLayout::C;
  if (text == "D") return DiagnosisLayout::D;
  if (text == "E") return DiagnosisLayout::E;
  if (text == "F") return DiagnosisLayout::F;
  EXPECT_EQ(text, "default");
  return DiagnosisLayout::Default;
}

// The row as the table gives it; the supply voltage offset is 0.3 V where
// the table names none.
CapabilityRow expectedRow(const std::vector<std::string>& c) {
  CapabilityRow row;
  row.channels = std::stoi(c[1]);
  row.rotarySwitch = c[2] == "yes";
  row.productLine2 = c[3] == "yes";
  row.senderQuestions = c[4] == "yes";
  row.pointedSenderInverts = c[5] == "yes";
  row.potiQuestion = c[6] == "yes";
  row.multiChannelQuestion = c[7] == "yes";
  const std::string& limits = c[8];
  row.noTemperature = limits.find("no temperature") != std::string::npos;
  row.noVoltage = limits.find("no voltage") != std::string::npos;
  row.noPoti = limits.find("no poti") != std::string::npos;
  row.noPressure = limits.find("no pressure") != std::string::npos;
  row.voltageOffsetTenths = 3;
  if (limits.find("voltage offset 0.8 V") != std::string::npos) row.voltageOffsetTenths = 8;
  if (limits.find("voltage offset 0 V") != std::string::npos) row.voltageOffsetTenths = 0;
  row.diagnosisLayout = layoutOf(c[9]);
  return row;
}

void expectRow(int32_t code, const CapabilityRow& want) {
  const CapabilityRow got = capabilitiesForType(code << 8 | 0x5A);  // low byte plays no part
  EXPECT_EQ(got.channels, want.channels) << "code " << code;
  EXPECT_EQ(got.rotarySwitch, want.rotarySwitch) << "code " << code;
  EXPECT_EQ(got.productLine2, want.productLine2) << "code " << code;
  EXPECT_EQ(got.senderQuestions, want.senderQuestions) << "code " << code;
  EXPECT_EQ(got.pointedSenderInverts, want.pointedSenderInverts) << "code " << code;
  EXPECT_EQ(got.potiQuestion, want.potiQuestion) << "code " << code;
  EXPECT_EQ(got.multiChannelQuestion, want.multiChannelQuestion) << "code " << code;
  EXPECT_EQ(got.noTemperature, want.noTemperature) << "code " << code;
  EXPECT_EQ(got.noVoltage, want.noVoltage) << "code " << code;
  EXPECT_EQ(got.noPoti, want.noPoti) << "code " << code;
  EXPECT_EQ(got.noPressure, want.noPressure) << "code " << code;
  EXPECT_EQ(got.voltageOffsetTenths, want.voltageOffsetTenths) << "code " << code;
  EXPECT_EQ(got.diagnosisLayout, want.diagnosisLayout) << "code " << code;
}

}  // namespace

TEST(IgnitionCapabilities, EveryRowOfTheTable) {
  std::stringstream in(kTable);
  std::string line;
  int rows = 0;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const std::vector<std::string> c = cells(line);
    ASSERT_EQ(c.size(), 10u) << line;
    const CapabilityRow want = expectedRow(c);
    if (c[0] == "27 and above") {
      for (int32_t code : {27, 28, 100, 255}) expectRow(code, want);
    } else {
      ASSERT_EQ(std::stoi(c[0]), rows) << "rows in code order";
      expectRow(rows, want);
    }
    ++rows;
  }
  EXPECT_EQ(rows, 28) << "codes 0-26 and the row for every newer code";
}
