#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "modules/ignition/ignition_file.h"
#include "tests/ignition/ignition_file_test_support.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"

using namespace ignition;
using namespace ignition_test;

namespace {

using namespace std::string_literals;
using Entries = std::vector<std::string>;

// The fixture's lines (line ends removed) and back.
std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t lf = text.find('\n', start);
    if (lf == std::string::npos) lf = text.size();
    std::string line = text.substr(start, lf - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = lf + 1;
  }
  return lines;
}
std::string joinLines(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
  std::string text;
  for (const std::string& l : lines) text += l + end;
  return text;
}

// The current-format fixture without its memory image (which cannot be
// moved around: it has no line end of its own).
std::string v13WithoutDump() {
  std::string text = readFile(fixture("v13.Ignar"));
  return text.substr(0, text.find("[Dump]"));
}

// Tag blocks: a tag line and the value lines below it.
std::vector<std::vector<std::string>> blocks(const std::string& text) {
  std::vector<std::vector<std::string>> result;
  for (const std::string& line : splitLines(text)) {
    if (!line.empty() && line.front() == '[') result.emplace_back();
    result.back().push_back(line);
  }
  return result;
}
std::string joinBlocks(const std::vector<std::vector<std::string>>& bs) {
  std::string text;
  for (const auto& b : bs) text += joinLines(b);
  return text;
}

TEST(IgnitionFileLoad, Version13) {
  IgnitionState s = freshState();
  s.record.SerienNummer = 42;
  s.record.firmwareVersion = 0x803;
  s.record.maxTempRelative = 77;
  s.dumpPresent = true;
  ASSERT_EQ(loadIgnitionFile(s, fixture("v13.Ignar")), 0);
  const IgnitionRecord& r = s.record;
  EXPECT_TRUE(s.recordValid);
  EXPECT_TRUE(s.dumpPresent) << "only a read or a write ends the memory image";
  EXPECT_EQ(r.maxTempRelative, 77) << "the maxima come from the module only";
  EXPECT_EQ(r.SerienNummer, 0u);
  EXPECT_EQ(r.firmwareVersion, 0x702);
  EXPECT_EQ(r.HwTyp, 4352);
  EXPECT_EQ(r.capability.channels, 2) << "type code 17";
  EXPECT_EQ(r.InfoHersteller, "Müller Motorsport");
  EXPECT_EQ(r.InfoTyp, "R 80 GS");
  EXPECT_EQ(r.InfoAusfuehrung, "Vergaser 32 mm");
  EXPECT_EQ(r.InfoKommentar, "Zündung neu eingestellt\nKurve 2 für Regen");
  EXPECT_EQ(r.Zylinder, 2);
  EXPECT_EQ(r.Takte, 4);
  EXPECT_EQ(r.Ladezeit, 32);
  EXPECT_EQ(r.LadezeitUrsprung, 32);
  EXPECT_EQ(r.StartZeit, 5);
  EXPECT_EQ(r.Offset, -3);
  EXPECT_EQ(s.limiterEdit, 8500);
  EXPECT_EQ(r.LimiterZahl, 12);
  EXPECT_EQ(r.UnterDruckSensorF, 130);
  EXPECT_EQ(r.UnterDruckSensorC, 12);
  // Relative pressures: -1000 mBar is byte 0.
  EXPECT_EQ(r.UnterDruckA.pressure, (std::array<uint8_t, 8>{0, 50, 100, 255, 255, 255, 255, 255}));
  EXPECT_EQ(r.UnterDruckA.angle, (std::array<int8_t, 8>{0, 4, 8, 0, 0, 0, 0, 0}));
  EXPECT_EQ(r.UnterDruckB.pressure[0], 120);
  EXPECT_EQ(r.UnterDruckB.angle[0], -2);
  EXPECT_EQ(r.UnterDruckB.pressure[1], 255);
  EXPECT_EQ(r.Flags, 137);
  EXPECT_EQ(r.FlagsB, 42);
  EXPECT_EQ(r.FlagsC, 3);
  EXPECT_EQ(r.FlagsD, 20);
  EXPECT_EQ(r.Versatz, 202);
  EXPECT_EQ(r.LogModus, 7);
  EXPECT_EQ(r.GeberModus, 1);
  EXPECT_EQ(r.KwZaehne, 36);
  EXPECT_EQ(r.KwLuecke, 1);
  EXPECT_EQ(r.SchaltBlitz, 8000);
  EXPECT_EQ(r.KanalTabelle, (std::array<uint8_t, 8>{1, 2, 4, 8, 3, 12, 48, 192}));
  EXPECT_EQ(r.HwLimiter, (std::array<uint8_t, 2>{120, 4}));
  EXPECT_EQ(r.UHkz, 19);
  EXPECT_EQ(r.BetriebsDauer, 4711);
  EXPECT_EQ(s.curve1.entries(), (Entries{"00800 rpm   5", "03000 rpm  30", "06000 rpm  34"}));
  EXPECT_EQ(s.curve2.entries(), (Entries{"01000 rpm   0", "04000 rpm  20"}));
  EXPECT_EQ(r.Korrektur, (std::array<int8_t, 12>{0, -1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 3}));
  EXPECT_EQ(r.directModeActive, 0);
}

TEST(IgnitionFileLoad, Version12LeavesTheLimiterCount) {
  IgnitionState s = freshState();
  ASSERT_EQ(loadIgnitionFile(s, fixture("v12.Ignar")), texts::kTextOldFileFormat);
  const IgnitionRecord& r = s.record;
  EXPECT_TRUE(s.recordValid);
  EXPECT_EQ(r.LimiterZahl, 20) << "first stored with version 13";
  EXPECT_EQ(r.GeberModus, 2);
  EXPECT_EQ(r.FlagsD, 4);
  EXPECT_EQ(r.HwLimiter, (std::array<uint8_t, 2>{110, 5}));
  EXPECT_EQ(r.UHkz, 17);
  EXPECT_EQ(r.BetriebsDauer, 99);
  EXPECT_EQ(r.KanalTabelle, (std::array<uint8_t, 8>{1, 2, 1, 2, 0, 0, 0, 0}));
  EXPECT_EQ(r.HwTyp, 2304);
  EXPECT_EQ(r.InfoTyp, "Käfer 1303");
  EXPECT_EQ(r.InfoAusfuehrung, "");
  EXPECT_EQ(r.InfoKommentar, "Doppelvergaser");
  // Absolute pressures; an empty curve is ended in its first slot.
  EXPECT_EQ(r.UnterDruckA.pressure, (std::array<uint8_t, 8>{30, 80, 255, 255, 255, 255, 255, 255}));
  EXPECT_EQ(r.UnterDruckA.angle[1], 10);
  EXPECT_EQ(r.UnterDruckB.pressure[0], 255);
  EXPECT_EQ(r.UnterDruckSensorC, 15);
  EXPECT_EQ(r.Korrektur[2], -2);
  EXPECT_EQ(s.limiterEdit, 6000);
  EXPECT_EQ(s.curve2.entries(), (Entries{"00800 rpm   4"}));
}

TEST(IgnitionFileLoad, Version9) {
  IgnitionState s = freshState();
  ASSERT_EQ(loadIgnitionFile(s, fixture("v9.Fulgo")), texts::kTextOldFileFormat);
  const IgnitionRecord& r = s.record;
  EXPECT_TRUE(r.capability.productLine2) << "type code 11";
  EXPECT_EQ(r.FlagsC, 2);
  // Six firing-order positions; the others keep their defaults.
  EXPECT_EQ(r.KanalTabelle, (std::array<uint8_t, 8>{3, 5, 6, 9, 10, 12, 0x40, 0x80}));
  EXPECT_EQ(r.InfoHersteller, "Zweirad Schmidt und Söhn") << "24 characters";
  EXPECT_EQ(r.InfoKommentar, "erste Zeile\nzweite Zeile\ndritte Zeile");
  EXPECT_EQ(r.SchaltBlitz, 7000);
  EXPECT_EQ(r.KwZaehne, 24);
  EXPECT_EQ(r.KwLuecke, 0);
  EXPECT_EQ(r.FlagsB, 32);
  EXPECT_EQ(r.Versatz, 10);
  EXPECT_EQ(r.Offset, 2);
  EXPECT_EQ(r.UnterDruckSensorF, 140);
  EXPECT_EQ(r.UnterDruckSensorC, 20);
  EXPECT_EQ(r.UnterDruckA.pressure,
            (std::array<uint8_t, 8>{20, 150, 255, 255, 255, 255, 255, 255}));
  EXPECT_EQ(r.UnterDruckA.angle[0], 3);
  EXPECT_EQ(r.UnterDruckB.pressure[0], 80);
  EXPECT_EQ(r.StartZeit, 6);
  EXPECT_EQ(r.Korrektur[11], -4);
  // Not yet in version 9.
  EXPECT_EQ(r.GeberModus, 0);
  EXPECT_EQ(r.FlagsD, 0);
  EXPECT_EQ(r.HwLimiter, (std::array<uint8_t, 2>{117, 3}));
  EXPECT_EQ(r.UHkz, 18);
  EXPECT_EQ(r.BetriebsDauer, 0);
}

TEST(IgnitionFileLoad, Version5HasTheOldPressureTags) {
  IgnitionState s = freshState();
  ASSERT_EQ(loadIgnitionFile(s, fixture("v5.Ignar")), texts::kTextOldFileFormat);
  const IgnitionRecord& r = s.record;
  EXPECT_EQ(r.UnterDruckA.pressure[0], 11);
  EXPECT_EQ(r.UnterDruckA.angle[0], 7);
  EXPECT_EQ(r.UnterDruckA.pressure[1], 41);
  EXPECT_EQ(r.UnterDruckA.angle[1], 0);
  EXPECT_EQ(r.UnterDruckA.pressure[2], 255);
  EXPECT_EQ(r.UnterDruckB.pressure[0], 1);
  EXPECT_EQ(r.UnterDruckB.angle[0], -3);
  EXPECT_EQ(r.UnterDruckB.pressure[1], 31);
  EXPECT_EQ(r.UnterDruckB.pressure[2], 255);
  EXPECT_EQ(r.UnterDruckSensorF, 110);
  EXPECT_EQ(r.UnterDruckSensorC, 10) << "old sensors all had the offset 10";
  EXPECT_EQ(r.FlagsB, 8);
  EXPECT_EQ(r.Versatz, 220);
  EXPECT_EQ(r.LogModus, 6);
  EXPECT_EQ(r.Offset, -2);
  EXPECT_EQ(r.Flags, 64);
  EXPECT_EQ(r.KwZaehne, 60) << "first stored with version 6";
  EXPECT_EQ(r.Korrektur[3], 1);
  // Four-digit rpm lines of old files get a leading 0; five digits stay.
  EXPECT_EQ(s.curve1.entries(), (Entries{"00800 rpm   5", "03000 rpm  30", "10000 rpm  20"}));
  EXPECT_EQ(s.curve2.entries(), (Entries{"00800 rpm   0"}));
}

TEST(IgnitionFileLoad, Version2) {
  IgnitionState s = freshState();
  ASSERT_EQ(loadIgnitionFile(s, fixture("v2.Ignar")), texts::kTextOldFileFormat);
  const IgnitionRecord& r = s.record;
  EXPECT_EQ(r.Zylinder, 6);
  EXPECT_EQ(r.Ladezeit, 30);
  EXPECT_EQ(r.LadezeitUrsprung, 30);
  EXPECT_EQ(s.limiterEdit, 6500);
  EXPECT_EQ(r.Flags, 16);
  EXPECT_EQ(r.StartZeit, 8);
  EXPECT_EQ(r.Korrektur, (std::array<int8_t, 12>{1, 2, 3, 4, 5, 6, -1, -2, -3, -4, -5, -6}));
  EXPECT_EQ(r.UnterDruckA.pressure[0], 0) << "defaults where the version has nothing";
  EXPECT_EQ(r.UnterDruckA.pressure[1], 255);
  EXPECT_EQ(r.UnterDruckSensorF, 122);
  EXPECT_EQ(r.Offset, 0);
  EXPECT_EQ(s.curve1.entries(), (Entries{"00800 rpm   6", "02500 rpm  25"}));
}

// What a file can set, at the values of a reset record: a version that does
// not carry a field leaves it so.
struct Loaded {
  int Zylinder = 4, Takte = 4, Ladezeit = 25, StartZeit = 3;
  int32_t limiterEdit = 0, Offset = 0, SchaltBlitz = 9950, HwTyp = 0, BetriebsDauer = 0;
  int Versatz = 0, KwZaehne = 60, KwLuecke = 2, LogModus = 8, GeberModus = 0;
  int Flags = 0, FlagsB = 0, FlagsC = 0, FlagsD = 0;
  int UnterDruckSensorF = 122, UnterDruckSensorC = 10, LimiterZahl = 20, UHkz = 18;
  std::array<uint8_t, 2> HwLimiter{117, 3};
  std::array<uint8_t, 8> pressureA{0, 255, 255, 255, 255, 255, 255, 255};
  std::array<int8_t, 8> angleA{};
  std::array<uint8_t, 8> pressureB{0, 255, 255, 255, 255, 255, 255, 255};
  std::array<int8_t, 8> angleB{};
  std::array<uint8_t, 8> KanalTabelle{0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
  std::array<int8_t, 12> Korrektur{};
  std::string InfoHersteller, InfoTyp, InfoAusfuehrung, InfoKommentar;
  Entries curve1, curve2;
};

void expectLoaded(const IgnitionState& s, const Loaded& e) {
  const IgnitionRecord& r = s.record;
#define EXPECT_FIELD(actual, field) EXPECT_EQ(actual, e.field) << #field
  EXPECT_FIELD(r.Zylinder, Zylinder);
  EXPECT_FIELD(r.Takte, Takte);
  EXPECT_FIELD(r.Ladezeit, Ladezeit);
  EXPECT_FIELD(r.LadezeitUrsprung, Ladezeit);
  EXPECT_FIELD(r.StartZeit, StartZeit);
  EXPECT_FIELD(s.limiterEdit, limiterEdit);
  EXPECT_FIELD(r.Offset, Offset);
  EXPECT_FIELD(r.SchaltBlitz, SchaltBlitz);
  EXPECT_FIELD(r.HwTyp, HwTyp);
  EXPECT_FIELD(r.BetriebsDauer, BetriebsDauer);
  EXPECT_FIELD(r.Versatz, Versatz);
  EXPECT_FIELD(r.KwZaehne, KwZaehne);
  EXPECT_FIELD(r.KwLuecke, KwLuecke);
  EXPECT_FIELD(r.LogModus, LogModus);
  EXPECT_FIELD(r.GeberModus, GeberModus);
  EXPECT_FIELD(r.Flags, Flags);
  EXPECT_FIELD(r.FlagsB, FlagsB);
  EXPECT_FIELD(r.FlagsC, FlagsC);
  EXPECT_FIELD(r.FlagsD, FlagsD);
  EXPECT_FIELD(r.UnterDruckSensorF, UnterDruckSensorF);
  EXPECT_FIELD(r.UnterDruckSensorC, UnterDruckSensorC);
  EXPECT_FIELD(r.LimiterZahl, LimiterZahl);
  EXPECT_FIELD(r.UHkz, UHkz);
  EXPECT_FIELD(r.HwLimiter, HwLimiter);
  EXPECT_FIELD(r.UnterDruckA.pressure, pressureA);
  EXPECT_FIELD(r.UnterDruckA.angle, angleA);
  EXPECT_FIELD(r.UnterDruckB.pressure, pressureB);
  EXPECT_FIELD(r.UnterDruckB.angle, angleB);
  EXPECT_FIELD(r.KanalTabelle, KanalTabelle);
  EXPECT_FIELD(r.Korrektur, Korrektur);
  EXPECT_FIELD(r.InfoHersteller, InfoHersteller);
  EXPECT_FIELD(r.InfoTyp, InfoTyp);
  EXPECT_FIELD(r.InfoAusfuehrung, InfoAusfuehrung);
  EXPECT_FIELD(r.InfoKommentar, InfoKommentar);
  EXPECT_FIELD(s.curve1.entries(), curve1);
  EXPECT_FIELD(s.curve2.entries(), curve2);
#undef EXPECT_FIELD
}

// Files as each older version wrote them. Some also hold tags of later
// versions, which their version must not read.
TEST(IgnitionFileLoad, OlderVersions) {
  struct Case {
    const char* file;
    void (*expect)(Loaded&);
  } cases[] = {
      {"v3.Ignar",
       [](Loaded& e) {
         e.Zylinder = 1, e.Takte = 2, e.Ladezeit = 30, e.limiterEdit = 8000, e.Flags = 2;
         e.StartZeit = 5, e.Korrektur[1] = -5, e.Korrektur[11] = 3;
         e.Offset = 4, e.UnterDruckSensorF = 115;  // its [UnterDruckSensorC] 25 gives way to 10
         // P2 80 and angle 6 in slot 0, P1 50 in slot 1, each pressure 101 - p.
         e.pressureA = {21, 51, 255, 255, 255, 255, 255, 255}, e.angleA[0] = 6;
         e.pressureB = {6, 61, 255, 255, 255, 255, 255, 255}, e.angleB[0] = -6;
         e.curve1 = {"00600 rpm   2", "02000 rpm  15"}, e.curve2 = {"01500 rpm   4"};
       }},
      {"v4.Ignar",
       [](Loaded& e) {
         e.Zylinder = 2, e.Ladezeit = 27, e.limiterEdit = 7200, e.Flags = 16, e.StartZeit = 4;
         e.Korrektur[0] = 1, e.Offset = -1, e.UnterDruckSensorF = 118;
         e.pressureA = {31, 71, 255, 255, 255, 255, 255, 255}, e.angleA[0] = 9;
         e.pressureB = {41, 81, 255, 255, 255, 255, 255, 255}, e.angleB[0] = 2;
         e.Versatz = 240, e.LogModus = 5;
         e.curve1 = {"01000 rpm   8", "04500 rpm  28"}, e.curve2 = {"01000 rpm   3"};
       }},
      {"v6.Ignar",
       [](Loaded& e) {
         e.Ladezeit = 29, e.limiterEdit = 8800, e.Flags = 4, e.StartZeit = 2, e.Korrektur[2] = 2;
         e.Offset = 3, e.UnterDruckSensorF = 120, e.Versatz = 12, e.LogModus = 4;
         // The old tags, not the "[UnterDruckA]" lines of a later version.
         e.pressureA = {16, 56, 255, 255, 255, 255, 255, 255}, e.angleA[0] = 8;
         e.pressureB = {26, 66, 255, 255, 255, 255, 255, 255}, e.angleB[0] = 4;
         e.KwZaehne = 36, e.KwLuecke = 1, e.FlagsB = 16;
         e.curve1 = {"00900 rpm   6", "03500 rpm  31"}, e.curve2 = {"00900 rpm   1"};
       }},
      {"v7.Ignar",
       [](Loaded& e) {
         e.Zylinder = 2, e.Takte = 2, e.Ladezeit = 31, e.limiterEdit = 9500, e.Flags = 32;
         e.StartZeit = 6, e.Korrektur[3] = -1, e.Offset = -4, e.Versatz = 100, e.LogModus = 2;
         e.KwZaehne = 12, e.KwLuecke = 1, e.FlagsB = 32;
         e.UnterDruckSensorF = 125, e.UnterDruckSensorC = 25;
         // Relative: (mBar + 1005) / 10.
         e.pressureA = {50, 125, 255, 255, 255, 255, 255, 255}, e.angleA = {5, -3};
         e.pressureB = {1, 250, 255, 255, 255, 255, 255, 255}, e.angleB = {0, 10};
         e.curve1 = {"01200 rpm   7"}, e.curve2 = {"01200 rpm   2", "06000 rpm  25"};
       }},
      {"v8.Ignar",
       [](Loaded& e) {
         e.Zylinder = 1, e.Ladezeit = 33, e.limiterEdit = 7800, e.Flags = 8, e.StartZeit = 7;
         e.Korrektur[11] = 2, e.Offset = 1, e.Versatz = 30, e.LogModus = 1;
         e.KwZaehne = 24, e.KwLuecke = 0, e.FlagsB = 8, e.SchaltBlitz = 6500;
         e.UnterDruckSensorF = 130, e.UnterDruckSensorC = 20;
         // Absolute: (mBar + 5) / 10; an empty curve ends in its first slot.
         e.pressureA = {30, 250, 255, 255, 255, 255, 255, 255}, e.angleA = {4, 12};
         e.pressureB = {255, 255, 255, 255, 255, 255, 255, 255};
         e.curve1 = {"01000 rpm  10", "05000 rpm  32"}, e.curve2 = {"01000 rpm   0"};
       }},
      {"v10.Ignar",
       [](Loaded& e) {
         e.Zylinder = 1, e.Ladezeit = 34, e.limiterEdit = 7600, e.Flags = 128, e.StartZeit = 4;
         e.Korrektur[10] = -3, e.Offset = 2, e.Versatz = 5, e.LogModus = 6, e.KwZaehne = 36;
         e.UnterDruckSensorF = 135, e.UnterDruckSensorC = 11;
         e.pressureA = {40, 255, 255, 255, 255, 255, 255, 255}, e.angleA[0] = 3;
         e.pressureB = {255, 255, 255, 255, 255, 255, 255, 255};
         e.HwTyp = 4352, e.FlagsC = 1, e.SchaltBlitz = 7200;
         e.InfoHersteller = "Werkstatt Maier", e.InfoTyp = "XT 600", e.InfoAusfuehrung = "Tenere";
         e.InfoKommentar = "neue Kurve";
         // Eight firing-order positions from this version on.
         e.KanalTabelle = {1, 2, 4, 8, 16, 32, 3, 12};
         e.HwLimiter = {105, 6}, e.UHkz = 21, e.BetriebsDauer = 1234;
         e.curve1 = {"01100 rpm   9"}, e.curve2 = {"01100 rpm   4"};
       }},
      {"v11.Ignar",
       [](Loaded& e) {
         e.Zylinder = 2, e.Ladezeit = 28, e.limiterEdit = 10500, e.Flags = 1, e.FlagsB = 4;
         e.Korrektur[0] = 4, e.Korrektur[1] = 4, e.Versatz = 7, e.KwZaehne = 36;
         e.pressureA = {255, 255, 255, 255, 255, 255, 255, 255};
         e.pressureB = {255, 255, 255, 255, 255, 255, 255, 255};
         e.HwTyp = 2304, e.SchaltBlitz = 9000, e.FlagsD = 6;
         e.InfoHersteller = "Garage Weber", e.InfoTyp = "GS 500", e.InfoAusfuehrung = "E";
         e.InfoKommentar = "Zeile eins\nZeile zwei";
         e.KanalTabelle = {1, 2, 1, 2, 4, 8, 4, 8};
         e.HwLimiter = {125, 2}, e.UHkz = 16, e.BetriebsDauer = 8;
         e.curve1 = {"00800 rpm   5", "03000 rpm  30"}, e.curve2 = {"00800 rpm   0"};
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    IgnitionState s = freshState();
    s.record.SerienNummer = 99;
    ASSERT_EQ(loadIgnitionFile(s, fixture(c.file)), texts::kTextOldFileFormat);
    EXPECT_TRUE(s.recordValid);
    EXPECT_EQ(s.record.SerienNummer, 0u) << "not read from any version";
    Loaded expected;
    c.expect(expected);
    expectLoaded(s, expected);
  }
}

TEST(IgnitionFileLoad, Version1HasNoVersionTag) {
  IgnitionState s = freshState();
  s.record.StartZeit = 12;
  s.curve2.setPoints({{1000, 1}, {2000, 2}, {3000, 3}});
  ASSERT_EQ(loadIgnitionFile(s, fixture("v1.Ignar")), texts::kTextOldFileFormat);
  const IgnitionRecord& r = s.record;
  EXPECT_TRUE(s.recordValid);
  EXPECT_EQ(r.Zylinder, 8);
  EXPECT_EQ(r.Takte, 2);
  EXPECT_EQ(r.Ladezeit, 35);
  EXPECT_EQ(s.limiterEdit, 7000);
  EXPECT_EQ(r.Flags, 8);
  EXPECT_EQ(r.StartZeit, 3) << "the file's [StartZeit] belongs to version 2";
  EXPECT_EQ(s.curve1.entries(), (Entries{"00800 rpm   5", "02000 rpm  20", "04000 rpm  30"}));
  EXPECT_EQ(s.curve2.entries(), (Entries{"00800 rpm   0"}));
}

TEST(IgnitionFileLoad, DirectModeFlattensTheCurves) {
  std::string text = v13WithoutDump();
  text.replace(text.find("[FlagsC]\r\n3\r\n"), 13, "[FlagsC]\r\n35\r\n");
  IgnitionState s = freshState();
  ASSERT_EQ(loadBytes(s, text), 0);
  EXPECT_EQ(s.record.directModeActive, 1);
  EXPECT_EQ(s.record.Flags, 137 & 0x88);
  EXPECT_EQ(s.curve1.entries(), (Entries{"00800 rpm   0", "03000 rpm   0"}));
}

// Line ends and tag order do not matter; nor does a value at the very end
// of a file without a line end.
TEST(IgnitionFileLoad, FormsOfTheSameFile) {
  const std::string original = v13WithoutDump();
  IgnitionState expected = freshState();
  ASSERT_EQ(loadBytes(expected, original), 0);

  struct Case {
    const char* name;
    std::function<std::string()> make;
  } cases[] = {
      {"LF only", [&] { return joinLines(splitLines(original), "\n"); }},
      {"mixed line ends",
       [&] {
         std::string text;
         auto lines = splitLines(original);
         for (size_t i = 0; i < lines.size(); ++i) text += lines[i] + (i % 2 ? "\n" : "\r\n");
         return text;
       }},
      {"tags in reverse order",
       [&] {
         auto bs = blocks(original);
         std::reverse(bs.begin(), bs.end());
         return joinBlocks(bs);
       }},
      {"a curve last, without a final line end",
       [&] {
         auto bs = blocks(original);
         auto curve =
             std::find_if(bs.begin(), bs.end(), [](auto& b) { return b[0] == "[Kennlinie]"; });
         std::rotate(curve, curve + 1, bs.end());
         std::string text = joinBlocks(bs);
         return text.substr(0, text.size() - 2);
       }},
      {"comment last, without a final line end",
       [&] {
         auto bs = blocks(original);
         auto it =
             std::find_if(bs.begin(), bs.end(), [](auto& b) { return b[0] == "[InfoKommentar]"; });
         std::rotate(it, it + 1, bs.end());
         std::string text = joinBlocks(bs);
         return text.substr(0, text.size() - 2);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IgnitionState s = freshState();
    ASSERT_EQ(loadBytes(s, c.make()), 0);
    EXPECT_EQ(loadedContent(s), loadedContent(expected));
    EXPECT_EQ(s.record.Flags, 137);
    EXPECT_EQ(s.record.FlagsB, 42);
    EXPECT_EQ(s.limiterEdit, 8500);
    EXPECT_EQ(s.record.LimiterZahl, 12);
  }
}

// Files that are not ignition files, or broken ones: a status, never more.
TEST(IgnitionFileLoad, BadFiles) {
  const std::string v13 = v13WithoutDump();
  const std::string v2 = readFile(fixture("v2.Ignar"));
  auto without = [](std::string text, const std::string& part) {
    text.erase(text.find(part), part.size());
    return text;
  };
  struct Case {
    const char* name;
    std::string bytes;
    int32_t status;
  } cases[] = {
      {"empty", "", texts::kTextWrongFileSelected},
      {"another module's file", "[BalkenAnzeige]\r\n[FileVersion]\r\n3\r\n",
       texts::kTextWrongFileSelected},
      {"binary junk",
       "\x7f"
       "ELF\x02\x01\x01\0\0\0\n\n[Zuend\xff"s,
       texts::kTextWrongFileSelected},
      {"only the file kind", "[Zuendung]\r\n", texts::kTextFileError},
      {"ends after a tag", "[Zuendung]\r\n[FileVersion]", texts::kTextFileError},
      {"value missing at the end", without(v13, "[BetriebsDauer]\r\n4711\r\n") + "[BetriebsDauer]",
       texts::kTextFileError},
      {"version not a number", "[Zuendung]\r\n[FileVersion]\r\nneu\r\n", texts::kTextFileError},
      {"value not a number", without(v13, "[UHkz]\r\n19") + "[UHkz]\r\nneunzehn\r\n",
       texts::kTextFileError},
      {"a tag missing", without(v13, "[KwLuecke]\r\n1\r\n"), texts::kTextFileError},
      {"eleven corrections", without(v2, "-6\r\n"), texts::kTextFileError},
      {"info text at the end", without(v13, "[InfoTyp]\r\nR 80 GS\r\n") + "[InfoTyp]",
       texts::kTextFileError},
      {"old pressure tag missing",
       without(readFile(fixture("v5.Ignar")), "[UnterDruck2Winkel]\r\n-3\r\n"),
       texts::kTextFileError},
      {"NUL bytes",
       "[Zuendung]\0\r\n[FileVersion]\r\n1\0\r\n[Zylinder]\r\n4\r\n[Takte]\r\n4\r\n"
       "[Ladezeit]\r\n25\r\n[Limiter]\r\n9000\r\n[Flags]\r\n0\r\n[Kennlinie]\r\n\0\0\0\r\n"
       "[KennlinieB]\r\n"s,
       texts::kTextOldFileFormat},
      {"very long lines",
       "[Zuendung]\r\n" + std::string(100000, '7') +
           "\r\n[Zylinder]\r\n4\r\n[Takte]\r\n4\r\n[Ladezeit]\r\n25\r\n[Limiter]"
           "\r\n9000\r\n[Flags]\r\n0\r\n[Kennlinie]\r\n" +
           std::string(1000, '1') + "\r\n[KennlinieB]",
       texts::kTextOldFileFormat},
      {"unknown version",
       "[Zuendung]\r\n[FileVersion]\r\n14\r\n[Zylinder]\r\n4\r\n[Takte]\r\n4\r\n"
       "[Ladezeit]\r\n25\r\n[Limiter]\r\n9000\r\n[Flags]\r\n0\r\n[Kennlinie]\r\n"
       "[KennlinieB]\r\n",
       texts::kTextOldFileFormat},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IgnitionState s = freshState();
    s.recordValid = true;
    s.record.Zylinder = 12;
    const std::string before = loadedContent(s);
    ASSERT_EQ(loadBytes(s, c.bytes), c.status);
    if (c.status == texts::kTextWrongFileSelected) {
      EXPECT_EQ(loadedContent(s), before) << "not an ignition file: nothing changes";
      EXPECT_TRUE(s.recordValid);
    } else {
      EXPECT_EQ(s.recordValid, c.status != texts::kTextFileError);
    }
  }
  IgnitionState s = freshState();
  EXPECT_EQ(loadIgnitionFile(s, fixture("fehlt.Ignar")), texts::kTextCannotOpenFile);
}

TEST(IgnitionFileLoad, LongLinesAndNulsAreCut) {
  std::string text = v13WithoutDump();
  text.replace(text.find("M\xFCller Motorsport"), 17, "M\xFC\0ller"s);
  text.replace(text.find("Kurve 2 f\xFCr Regen"), 17, std::string(600, 'k'));
  IgnitionState s = freshState();
  ASSERT_EQ(loadBytes(s, text), 0);
  EXPECT_EQ(s.record.InfoHersteller, "Mü") << "a NUL ends a text";
  // 299 + 299 + 2 characters read as three lines; the comment stops at 255.
  EXPECT_EQ(s.record.InfoKommentar, "Zündung neu eingestellt\n" + std::string(231, 'k'));

  text = v13WithoutDump();
  text.replace(text.find("[KennlinieB]\r\n"), 14,
               "[KennlinieB]\r\n" + std::string(650, '9') + "\r\n");
  ASSERT_EQ(loadBytes(s, text), 0);
  EXPECT_EQ(s.curve2.entries(), (Entries{"01000 rpm   0", "04000 rpm  20", std::string(298, '9')}))
      << "one line, one entry";
}

// An rpm-curve line longer than the reader's 299 characters: one entry, cut
// to 298 characters so that it is saved as a line that is read back whole.
// Split into entries instead, a piece of 299 characters was saved and read
// back as that piece and an empty line, which ended the curve there.
TEST(IgnitionFileLoad, OverlongCurveLineKeepsTheEntriesAfterIt) {
  struct Case {
    const char* name;
    std::string line;
    Entries entries;
  } cases[] = {
      {"300 characters",
       std::string(300, '0'),
       {std::string(298, '0'), "00800 rpm   5", "03000 rpm  30", "06000 rpm  34"}},
      {"299 characters",
       std::string(299, '0'),
       {std::string(298, '0'), "00800 rpm   5", "03000 rpm  30", "06000 rpm  34"}},
      {"four digits, 298 characters with the 0 put in front",
       "1234" + std::string(294, 'x'),
       {"00800 rpm   5", "01234" + std::string(293, 'x'), "03000 rpm  30", "06000 rpm  34"}},
      {"650 characters",
       std::string(650, '9'),
       {"00800 rpm   5", "03000 rpm  30", "06000 rpm  34", std::string(298, '9')}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text = v13WithoutDump();
    text.replace(text.find("00800 rpm   5\r\n"), 15, "00800 rpm   5\r\n" + c.line + "\r\n");
    IgnitionState s = freshState();
    ASSERT_EQ(loadBytes(s, text), 0);
    EXPECT_EQ(s.curve1.entries(), c.entries);
    EXPECT_EQ(s.curve2.entries(), (Entries{"01000 rpm   0", "04000 rpm  20"}));

    const std::string saved = ignitionFileText(s);
    IgnitionState again = freshState();
    ASSERT_EQ(loadBytes(again, saved), 0);
    EXPECT_EQ(again.curve1.entries(), c.entries);
    EXPECT_EQ(ignitionFileText(again), saved);
  }
}

// A line cut at a NUL or at its length, and a comment cut at 255
// characters, keep no CR or line feed at their end: saved, such an end would
// be read as a line end (or an empty line ending the comment) and the file
// would load back differently from the state it was saved from.
TEST(IgnitionFileLoad, CutValuesKeepNoLineEnd) {
  std::string text = v13WithoutDump();
  text.replace(text.find("06000 rpm  34\r\n"), 15, "06000 rpm  34\r\0x\r\n\r\r\0\r\n"s);
  text.replace(text.find("R 80 GS\r\n"), 7, std::string(23, 't') + "\rweiter");
  text.replace(text.find("Kurve 2 f\xFCr Regen\r\n"), 17, std::string(230, 'k') + "\r\nRest");
  IgnitionState s = freshState();
  ASSERT_EQ(loadBytes(s, text), 0);
  EXPECT_EQ(s.curve1.entries(), (Entries{"00800 rpm   5", "03000 rpm  30", "06000 rpm  34"}));
  EXPECT_EQ(s.record.InfoTyp, std::string(23, 't'));
  EXPECT_EQ(s.record.InfoKommentar, "Zündung neu eingestellt\n" + std::string(230, 'k'));

  const std::string saved = ignitionFileText(s);
  IgnitionState again = freshState();
  ASSERT_EQ(loadBytes(again, saved), 0);
  EXPECT_EQ(ignitionFileText(again), saved);
}

// A 24-character text that starts with "[" is saved with a blank in front;
// loading it back must give the whole text, not lose its last character.
TEST(IgnitionFileLoad, BracketTextOfFullLengthSurvivesItsBlank) {
  IgnitionState s = freshState();
  ASSERT_EQ(loadBytes(s, v13WithoutDump()), 0);
  s.record.InfoTyp = "[R 80 GS Baujahr 1987 ab";
  ASSERT_EQ(s.record.InfoTyp.size(), 24u);
  IgnitionState again = freshState();
  ASSERT_EQ(loadBytes(again, ignitionFileText(s)), 0);
  EXPECT_EQ(again.record.InfoTyp, s.record.InfoTyp);
  s.record.InfoTyp = "Zündung für Baujahr 1987 ab";
  ASSERT_EQ(loadBytes(again, ignitionFileText(s)), 0);
  EXPECT_EQ(again.record.InfoTyp, "Zündung für Baujahr 1987") << "cut to 24 characters";
}

// Random damage to good files: the load ends with a status, quickly.
TEST(IgnitionFileLoad, DamagedFilesGiveAStatus) {
  const std::string sources[] = {readFile(fixture("v13.Ignar")), readFile(fixture("v5.Ignar")),
                                 readFile(fixture("v9.Fulgo")), readFile(fixture("v1.Ignar"))};
  std::mt19937 random(20261211);
  for (int round = 0; round < 300; ++round) {
    std::string text = sources[round % 4];
    const int damages = 1 + static_cast<int>(random() % 8);
    for (int d = 0; d < damages && !text.empty(); ++d) {
      const size_t at = random() % text.size();
      switch (random() % 4) {
        case 0:
          text[at] = static_cast<char>(random());
          break;
        case 1:
          text.erase(at, random() % 40);
          break;
        case 2:
          text.insert(at, std::string(random() % 400, static_cast<char>(random())));
          break;
        default:
          text.resize(at);
          break;
      }
    }
    IgnitionState s = freshState();
    const int32_t status = loadBytes(s, text);
    EXPECT_TRUE(status == 0 || status == texts::kTextOldFileFormat ||
                status == texts::kTextFileError || status == texts::kTextWrongFileSelected)
        << status;
    EXPECT_EQ(s.recordValid, status == 0 || status == texts::kTextOldFileFormat);
  }
}

}  // namespace
