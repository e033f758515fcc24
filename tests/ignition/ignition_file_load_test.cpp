#include <gtest/gtest.h>

#include <algorithm>
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
  EXPECT_EQ(s.curve2.entries(), (Entries{"01000 rpm   0", "04000 rpm  20", std::string(52, '9'),
                                         std::string(299, '9'), std::string(299, '9')}));
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
