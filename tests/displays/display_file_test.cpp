#include <gtest/gtest.h>

#include <functional>

#include "modules/displays/bar_display.h"
#include "modules/displays/field_text.h"
#include "modules/displays/gear_display.h"
#include "modules/displays/poti_display.h"
#include "modules/displays/shift_display.h"
#include "modules/displays/tank_display.h"
#include "tests/support/temp_folder.h"
#include "texts/text_ids.h"

namespace displays {
namespace {

using test_files::readFile;
using test_files::TempFolder;
using test_files::writeFile;

// One loader per kind, as the page would call it, on default settings.
struct Kind {
  const char* name;
  std::function<int32_t(const std::string&)> load;
  std::function<int32_t(const std::string&)> loadAndSave;  // into a second file
  std::string sample;
};

template <class Settings, class Load, class Save>
Kind kind(const char* name, Load load, Save save, std::string sample) {
  return {name,
          [load](const std::string& p) {
            Settings s;
            return load(s, p);
          },
          [load, save](const std::string& p) {
            Settings s;
            const int32_t e = load(s, p);
            return e != 0 ? e : save(s, p + ".again");
          },
          std::move(sample)};
}

std::vector<Kind> kinds() {
  return {
      kind<BarDisplaySettings>("bar", loadBarDisplayFile, saveBarDisplayFile,
                               "[BalkenAnzeige]\r\n[FileVersion]\r\n1\r\n[SerienNummer]\r\n"
                               "1234567\r\n[Helligkeit]\r\n200\r\n[AnzeigenNummer]\r\n2\r\n"
                               "[Adresse]\r\n240\r\n[Modus]\r\n3\r\n[Flags]\r\n9\r\n[Startwert]"
                               "\r\n2000\r\n[Stufe]\r\n100\r\n"),
      kind<GearDisplaySettings>("gear", loadGearDisplayFile, saveGearDisplayFile,
                                "[Ganganzeige]\r\n20\r\n80\r\n[RefIntern]\r\n1\r\n[Schaltgeber]"
                                "\r\n1 210\r\n2 180\r\n3 150\r\n4 120\r\n5 90\r\n6 0\r\n7 0\r\n8 "
                                "0\r\n0 240\r\n12 30\r\n"),
      kind<TankDisplaySettings>("tank", loadTankDisplayFile, saveTankDisplayFile,
                                "[Tankanzeige]\r\n20\r\n80\r\n[Periode]\r\n30\r\n[Pumpe]\r\n5\r\n"
                                "10\r\n1\r\n[Tankgeber1]\r\n000 L 0800\r\n040 L 0100\r\n"
                                "[Tankgeber2]\r\nfrei \xE4 Text\r\n"),
      kind<ShiftDisplaySettings>("shift", loadShiftDisplayFile, saveShiftDisplayFile,
                                 "[Schaltanzeige]\r\n20\r\n80\r\n[Faktor]\r\n2\r\n[LedsGruen]\r\n"
                                 "3000\r\n0\r\n0\r\n0\r\n0\r\n0\r\n6000\r\n[LedsRot]\r\n3100\r\n0"
                                 "\r\n0\r\n0\r\n0\r\n0\r\n6100\r\n[Limiter]\r\n7000\r\n"),
      kind<PotiDisplaySettings>("poti", loadPotiDisplayFile, savePotiDisplayFile,
                                "[Potianzeige]\r\n20\r\n80\r\n[RefIntern]\r\n0\r\n[PowerDown]\r\n"
                                "60\r\n[LedsGruen]\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n[LedsRot]"
                                "\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n250\r\n"),
  };
}

TEST(DisplayFiles, LoadThenSaveGivesTheSameBytes) {
  TempFolder folder;
  for (const Kind& k : kinds()) {
    const std::string path = folder / k.name;
    writeFile(path, k.sample);
    ASSERT_EQ(k.loadAndSave(path), 0) << k.name;
    EXPECT_EQ(readFile(path + ".again"), k.sample) << k.name << ": CR LF and cp1252 kept";
  }
}

TEST(DisplayFiles, AFileOfAnotherKindIsRefused) {
  TempFolder folder;
  for (const Kind& k : kinds()) {
    for (const Kind& other : kinds()) {
      if (&k == &other || std::string(k.name) == other.name) continue;
      const std::string path = folder / (std::string(other.name) + ".file");
      writeFile(path, other.sample);
      EXPECT_EQ(k.load(path), texts::kTextWrongFileSelected) << k.name << " given " << other.name;
    }
    EXPECT_EQ(k.load(folder / "missing"), texts::kTextCannotOpenFile) << k.name;
  }
}

TEST(BarDisplayFile, WrongFileChangesNothingAndBrokenFileKeepsWhatWasRead) {
  TempFolder folder;
  BarDisplaySettings s;
  s.brightness = 7;
  writeFile(folder / "g", "[Ganganzeige]\r\n");
  EXPECT_EQ(loadBarDisplayFile(s, folder / "g"), texts::kTextWrongFileSelected);
  EXPECT_EQ(s.brightness, 7);
  s.mode = kBarLambda;
  writeFile(folder / "b",
            "[BalkenAnzeige]\r\n[FileVersion]\r\n1\r\n[SerienNummer]\r\n1234567\r\n"
            "[Helligkeit]\r\n99\r\n[AnzeigenNummer]\r\n2\r\n[Adresse]\r\n17\r\n"
            "[Modus]\r\n3\r\n[Flags]\r\n4\r\n[Startwert]\r\nx\r\n");
  EXPECT_EQ(loadBarDisplayFile(s, folder / "b"), texts::kTextFileError);
  EXPECT_EQ(s.brightness, 99);
  EXPECT_EQ(s.displayAddress, 17);
  EXPECT_EQ(s.mode, kBarStandard) << "mode and flags stay at their defaults";
  EXPECT_EQ(s.flags, 0);
  EXPECT_EQ(s.step, 100);
}

TEST(GearDisplayFile, TwoDashLinesBothGoToNeutral) {
  TempFolder folder;
  writeFile(folder / "g",
            "[Ganganzeige]\r\n20\r\n80\r\n[RefIntern]\r\n0\r\n[Schaltgeber]\r\n1 1"
            "\r\n2 2\r\n3 3\r\n4 4\r\n5 5\r\n6 6\r\n7 7\r\n8 8\r\n11 100\r\n11 50\r\n");
  GearDisplaySettings s;
  ASSERT_EQ(loadGearDisplayFile(s, folder / "g"), 0);
  EXPECT_EQ(s.neutralSymbol, kGearSymbolDash);
  EXPECT_EQ(s.neutralValue, 50);
  EXPECT_FALSE(s.reverseValue.has_value());
  EXPECT_TRUE(s.internalReference);
  writeFile(folder / "h", "[Ganganzeige]\r\n20\r\n80\r\n[Schaltgeber]\r\n");
  EXPECT_EQ(loadGearDisplayFile(s, folder / "h"), texts::kTextFileError);
}

TEST(TankDisplayFile, ListLinesEndAtANulAndHoldNoLineEnd) {
  TempFolder folder;
  std::string text =
      "[Tankanzeige]\r\n20\r\n80\r\n[Periode]\r\n2\r\n[Pumpe]\r\n6\r\n10\r\n1\r\n"
      "[Tankgeber1]\r\n010 L 0600";
  text += std::string(1, '\0') + "rest\r\n020 L\r 0700\r\r\n";
  // A line longer than the reader's lines comes in pieces; each piece must
  // still fit a line of its own once saved.
  text += std::string(700, '9') + "\r\n";
  writeFile(folder / "t", text);
  TankDisplaySettings s;
  ASSERT_EQ(loadTankDisplayFile(s, folder / "t"), 0);
  ASSERT_GE(s.sensors[0].size(), 4u);
  EXPECT_EQ(s.sensors[0][0], "010 L 0600");
  EXPECT_EQ(s.sensors[0][1], "020 L 0700");
  ASSERT_EQ(saveTankDisplayFile(s, folder / "u"), 0);
  TankDisplaySettings again;
  ASSERT_EQ(loadTankDisplayFile(again, folder / "u"), 0);
  EXPECT_EQ(tankDisplayFileText(again), tankDisplayFileText(s));
}

TEST(ShiftDisplayFile, ThresholdsOnlyAfterBothGroupsAndUnknownFactorKept) {
  TempFolder folder;
  writeFile(folder / "s",
            "[Schaltanzeige]\r\n20\r\n80\r\n[Faktor]\r\n7\r\n[LedsGruen]\r\n1\r\n2"
            "\r\n3\r\n4\r\n5\r\n6\r\n7\r\n[LedsRot]\r\n1\r\n2\r\n");
  ShiftDisplaySettings s;
  s.factorCode = 12;
  s.green[0] = 999;
  ASSERT_EQ(loadShiftDisplayFile(s, folder / "s"), 0);
  EXPECT_EQ(s.factorCode, 12);
  EXPECT_EQ(s.green[0], 999);
  EXPECT_EQ(s.dayBrightness, 80);
}

TEST(PotiDisplayFile, MissingPowerDownIsAFileError) {
  TempFolder folder;
  writeFile(folder / "p", "[Potianzeige]\r\n20\r\n80\r\n[RefIntern]\r\n1\r\n[LedsGruen]\r\n");
  PotiDisplaySettings s;
  EXPECT_EQ(loadPotiDisplayFile(s, folder / "p"), texts::kTextFileError);
}

TEST(FieldTexts, PagesWithoutAFileReadTheirOwnTextBack) {
  StopwatchSettings w;
  w.behaviour = 0x83;
  w.circumference = 1999;
  w.lastTimes = {"105.07"};
  StopwatchSettings back;
  ASSERT_EQ(parseStopwatchText(stopwatchText(w), back), 0);
  EXPECT_EQ(back.behaviour, 0x83);
  EXPECT_EQ(back.circumference, 1999);
  RallyTimerSettings r;
  r.targets = {{1, 1234}, {3, 120}};
  r.recorded = {"012.3 125.0"};
  RallyTimerSettings rb;
  ASSERT_EQ(parseRallyTimerText(rallyTimerText(r), rb), 0);
  ASSERT_EQ(rb.targets.size(), 2u);
  EXPECT_EQ(rb.targets[1].tenths, 120);
  OilDisplaySettings o;
  EXPECT_EQ(parseOilDisplayText(stopwatchText(w), o), texts::kTextWrongFileSelected);
  EXPECT_EQ(parseOilDisplayText("Öl-Anzeige\nTag=x\n", o), texts::kTextFileError);
  EXPECT_EQ(o.dayBrightness, 80);
}

}  // namespace
}  // namespace displays
