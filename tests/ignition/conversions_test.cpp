#include "modules/ignition/conversions.h"

#include <gtest/gtest.h>

#include "modules/ignition/capabilities.h"
#include "modules/ignition/ignition_record.h"

using namespace ignition;

TEST(IgnitionConversions, RpmBytes) {
  EXPECT_EQ(rpmToByte(12500), 250);
  EXPECT_EQ(rpmToByte(9975), 200);
  EXPECT_EQ(roundRpm50(1010), 1000);
  EXPECT_EQ(roundRpm50(1025), 1050);
  EXPECT_EQ(byteToRpm(199), 9950);
}

TEST(IgnitionConversions, Pressures) {
  struct Case {
    bool relative;
    int32_t mBar;
    uint8_t byte;
  };
  for (Case c : {Case{true, -990, 1}, Case{true, 1500, 250}, Case{false, 2500, 250},
                 Case{false, 995, 100}, Case{true, -1000, 0}}) {
    EXPECT_EQ(pressureToByte(c.relative, c.mBar), c.byte) << c.mBar;
  }
  EXPECT_EQ(byteToPressure(true, 0), -1000);
  EXPECT_EQ(byteToPressure(false, 250), 2500);
}

TEST(IgnitionConversions, Angles) {
  EXPECT_EQ(angleToByte(-5), 251);
  EXPECT_EQ(angleToByte(200), 127);
  EXPECT_EQ(angleToByte(-200), 128);
  EXPECT_EQ(signedByte(251), -5);
  EXPECT_EQ(versatzDegrees(202), -54);
  EXPECT_EQ(versatzDegrees(199), 199);
}

TEST(IgnitionConversions, KtyTemperature) {
  struct Case {
    uint8_t raw;
    int32_t celsius;
  };
  for (Case c : {Case{64, -43}, Case{100, 32}, Case{128, 96}, Case{150, 154}, Case{255, 4495}}) {
    EXPECT_EQ(ktyTemperature(c.raw), c.celsius) << int(c.raw);
  }
  // No real root below 28: the lowest point of the curve, never garbage.
  for (int raw = 0; raw < 28; ++raw) EXPECT_EQ(ktyTemperature(raw), -178) << raw;
  EXPECT_GT(ktyTemperature(28), -178);
}

TEST(IgnitionCapabilities, Rows) {
  struct Case {
    int32_t hwTyp;
    int32_t channels;
    int32_t voltageOffsetTenths;
    bool noTemperature;
    const char* name;
  };
  const Case cases[] = {
      {0x1900, 3, 3, false, "unbekannter oder neuer Typ"},
      {0x1A00, 2, 0, false, nullptr},
      {0x1B00, 1, 3, false, "unbekannter oder neuer Typ"},
      {0x0000, 6, 3, false, "Hardwaretyp nicht gesetzt"},
      {0x0105, 1, 3, true, nullptr},
      {0x0C00, 1, 8, false, nullptr},
      {0x1800, 8, 3, false, nullptr},
  };
  for (const Case& c : cases) {
    CapabilityRow row = capabilitiesForType(c.hwTyp);
    EXPECT_EQ(row.channels, c.channels) << std::hex << c.hwTyp;
    EXPECT_EQ(row.voltageOffsetTenths, c.voltageOffsetTenths) << std::hex << c.hwTyp;
    EXPECT_EQ(row.noTemperature, c.noTemperature) << std::hex << c.hwTyp;
    if (c.name != nullptr) {
      EXPECT_EQ(hardwareTypeName(c.hwTyp), c.name);
    }
  }
  for (int code : {11, 14, 16, 18})
    EXPECT_TRUE(capabilitiesForType(code << 8).productLine2) << code;
  EXPECT_FALSE(capabilitiesForType(12 << 8).productLine2);
  EXPECT_TRUE(capabilitiesForType(0x1A00).noPressure);
  EXPECT_EQ(capabilitiesForType(0x1A00).diagnosisLayout, DiagnosisLayout::F);
  for (int code = 1; code <= 26; ++code) {
    if (code == 25) continue;
    EXPECT_NE(hardwareTypeName(code << 8), "unbekannter oder neuer Typ") << code;
  }
}

TEST(IgnitionRecord, ResetAndRules) {
  IgnitionRecord r;
  r.Zylinder = 7;
  r.memoryImage[5] = 9;
  r.maxTempAbsolute = 130;
  resetRecord(r);
  EXPECT_EQ(r.Zylinder, 4);
  EXPECT_EQ(r.KanalTabelle[7], 0x80);
  EXPECT_EQ(r.UnterDruckA.pressure[0], 0);
  EXPECT_EQ(r.UnterDruckA.pressure[1], 255);
  EXPECT_EQ(r.capability.channels, 8);
  EXPECT_EQ(r.memoryImage[5], 9) << "the image is not part of the defaults";
  EXPECT_EQ(r.maxTempAbsolute, 130);

  r.UnterDruckSensorF = 255;
  r.UnterDruckSensorC = 40;
  r.LimiterZahl = 1;
  r.Offset = 22;
  applyPlausibility(r);
  EXPECT_EQ(r.UnterDruckSensorF, 122);
  EXPECT_EQ(r.UnterDruckSensorC, 10);
  EXPECT_EQ(r.LimiterZahl, 20);
  EXPECT_EQ(r.Offset, 0);

  r.Flags = 0xFF;
  r.FlagsB = 0xFF;
  r.FlagsC = bits::kFlagsCDirectMode;
  EXPECT_TRUE(applyDirectMode(r));
  EXPECT_EQ(r.Flags, 0x88);
  EXPECT_EQ(r.FlagsB, 0x18);
  r.FlagsC = 0;
  EXPECT_FALSE(applyDirectMode(r));
  EXPECT_EQ(r.directModeActive, 0);

  r.Flags = bits::kFlagsWasteSpark;
  r.Zylinder = 2;
  r.Takte = 2;
  EXPECT_EQ(shownCylinders(r), 4);
  EXPECT_EQ(shownStrokes(r), 4);
}
