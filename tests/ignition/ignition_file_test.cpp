#include "modules/ignition/ignition_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "shell/file_dialog.h"
#include "shell/settings_file.h"
#include "tests/ignition/ignition_file_test_support.h"
#include "texts/text_ids.h"

using namespace ignition;
using namespace ignition_test;

namespace {

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// Every field away from its default, relative pressures down to -1000 mBar,
// a multi-line comment with umlauts, both curves and a memory image.
IgnitionState fullState() {
  IgnitionState s = freshState();
  IgnitionRecord& r = s.record;
  r.SerienNummer = 1234567;
  r.firmwareVersion = 0x805;
  r.HwTyp = 0x1900;
  r.InfoHersteller = "Müller & Söhne";
  r.InfoTyp = "GS 1000";
  r.InfoAusfuehrung = "Straße";
  r.InfoKommentar = "erste Zeile\nzweite Zeile: Grüße\ndritte";
  r.maxTempRelative = 150;
  r.maxTempAbsolute = 160;
  r.Zylinder = 3;
  r.Takte = 2;
  r.Ladezeit = 31;
  r.StartZeit = 7;
  r.Offset = -4;
  s.limiterEdit = 8850;
  r.LimiterZahl = 33;
  r.UnterDruckSensorF = 101;
  r.UnterDruckSensorC = 44;
  r.FlagsB = bits::kFlagsBRelativePressure | bits::kFlagsBCrankSender;
  r.UnterDruckA.pressure = {0, 40, 100, 180, 255, 255, 255, 255};
  r.UnterDruckA.angle = {9, 6, 3, -2, 0, 0, 0, 0};
  r.UnterDruckB.pressure = {10, 20, 30, 40, 50, 60, 70, 80};
  r.UnterDruckB.angle = {1, 2, 3, 4, 5, 6, 7, -8};
  r.Flags = 0xC9;
  r.FlagsC = 0x4B;
  r.FlagsD = 0x1C;
  r.Versatz = 230;
  r.LogModus = 5;
  r.GeberModus = 2;
  r.KwZaehne = 36;
  r.KwLuecke = 1;
  r.SchaltBlitz = 7300;
  r.KanalTabelle = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
  r.HwLimiter = {121, 6};
  r.UHkz = 20;
  r.BetriebsDauer = 65000;
  r.Korrektur = {1, -1, 2, -2, 3, -3, 4, -4, 5, -5, 6, -6};
  s.curve1.setPoints({{600, 4}, {2500, 25}, {6000, 35}, {9000, 38}});
  s.curve2.setPoints({{1000, -2}, {4000, 12}});
  for (int a = 0; a < 256; ++a) r.memoryImage[a] = static_cast<uint8_t>(255 - a);
  s.dumpPresent = true;
  return s;
}

TEST(IgnitionFileSave, StartsLikeTheDefaultsExample) {
  IgnitionState s = freshState();
  s.record.maxTempAbsolute = 255;  // no maximum recorded
  const std::string text = ignitionFileText(s);
  const std::string head =
      "[Zuendung]\r\n[FileVersion]\r\n13\r\n[SerienNummer]\r\n0000000\r\n[HwTyp]\r\n0\r\n"
      "[InfoHersteller]\r\n\r\n[InfoTyp]\r\n";
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_NE(text.find("\r\n[MaxTemperaturAbs]\r\n4495\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n[UnterDruckA]\r\n0000 mBar 0\r\n[UnterDruckB]\r\n0000 mBar 0\r\n"),
            std::string::npos);
  EXPECT_EQ(text.find("[Dump]"), std::string::npos);
  const std::string tail =
      "[Korrektur]\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n";
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

// The hand-written file of the current format comes out byte for byte once
// the values that a load does not bring back are set again.
TEST(IgnitionFileSave, WritesTheHandWrittenFile) {
  const std::string expected = readFile(fixture("v13.Ignar"));
  ASSERT_FALSE(expected.empty());
  IgnitionState s = freshState();
  ASSERT_EQ(loadIgnitionFile(s, fixture("v13.Ignar")), 0);
  s.record.SerienNummer = 1234567;
  s.record.maxTempRelative = 100;  // 32 degrees
  s.record.maxTempAbsolute = 128;  // 96 degrees
  for (int a = 0; a < 256; ++a) s.record.memoryImage[a] = static_cast<uint8_t>(a);
  s.dumpPresent = true;
  EXPECT_EQ(ignitionFileText(s), expected);

  // A read after the memory image clears dumpPresent: no "[Dump]" then.
  s.dumpPresent = false;
  EXPECT_EQ(ignitionFileText(s), expected.substr(0, expected.find("[Dump]")));
}

TEST(IgnitionFileSave, MemoryImageRows) {
  IgnitionState s = freshState();
  for (int a = 0; a < 256; ++a) s.record.memoryImage[a] = static_cast<uint8_t>(a * 7);
  s.dumpPresent = true;
  const std::string text = ignitionFileText(s);
  const size_t dump = text.find("[Dump]");
  ASSERT_NE(dump, std::string::npos);
  const std::string firstRow =
      "[Dump]\r\n0x00\t00 07 0e 15 1c 23 2a 31 38 3f 46 4d 54 5b 62 69 \r\n0x10\t";
  EXPECT_EQ(text.substr(dump, firstRow.size()), firstRow);
  // 16 rows of "0x%02x\t" and 16 times "%02x ", each row after CR LF, no
  // line end after the last byte.
  EXPECT_EQ(text.size() - dump, 6 + 16 * (2 + 5 + 16 * 3));
  EXPECT_EQ(text.substr(text.size() - 55),
            "\r\n0xf0\t90 97 9e a5 ac b3 ba c1 c8 cf d6 dd e4 eb f2 f9 ");
}

TEST(IgnitionFileRoundTrip, SaveLoadSaveIsIdentical) {
  TempFolder folder;
  const std::string path = folder / "Kunde.Ignar";
  IgnitionState s = fullState();
  const IgnitionState original = s;
  ASSERT_EQ(saveIgnitionFile(s, path), 0);
  const std::string first = readFile(path);
  EXPECT_NE(first.find("\r\n[UnterDruckA]\r\n-1000 mBar 9\r\n-600 mBar 6\r\n0000 mBar 3\r\n"
                       "0800 mBar -2\r\n[UnterDruckB]\r\n"),
            std::string::npos);
  EXPECT_NE(first.find("\r\n[InfoKommentar]\r\nerste Zeile\r\nzweite Zeile: Gr\xFC\xDF"
                       "e\r\ndritte\r\n[MaxTemperatur]\r\n154\r\n"),
            std::string::npos);

  // The load keeps the memory image, the temperature maxima and dumpPresent.
  ASSERT_EQ(loadIgnitionFile(s, path), 0);
  EXPECT_TRUE(s.recordValid);
  EXPECT_EQ(s.record.SerienNummer, 0u);
  EXPECT_EQ(s.record.firmwareVersion, 0x702);
  EXPECT_EQ(s.record.InfoHersteller, "Müller & Söhne");
  EXPECT_EQ(s.record.InfoKommentar, original.record.InfoKommentar);
  EXPECT_EQ(s.record.UnterDruckA.pressure, original.record.UnterDruckA.pressure);
  EXPECT_EQ(s.record.UnterDruckA.angle, original.record.UnterDruckA.angle);
  EXPECT_EQ(s.record.UnterDruckB.pressure, original.record.UnterDruckB.pressure);
  EXPECT_EQ(s.record.UnterDruckB.angle, original.record.UnterDruckB.angle);
  EXPECT_EQ(s.record.Korrektur, original.record.Korrektur);
  EXPECT_EQ(s.curve1.entries(), original.curve1.entries());
  EXPECT_EQ(s.record.capability.channels, 3) << "type code 25";

  ASSERT_EQ(saveIgnitionFile(s, path), 0);
  EXPECT_EQ(readFile(path),
            replaced(first, "[SerienNummer]\r\n1234567\r\n", "[SerienNummer]\r\n0000000\r\n"));
}

// The texts stand above the other tags, and tags are searched from the top:
// a text line that looks like a tag must not replace the setting of that
// name, nor may an empty comment line cut off the rest of the comment.
TEST(IgnitionFileRoundTrip, FreeTextCannotPassForATag) {
  IgnitionState s = freshState();
  s.record.Zylinder = 6;
  s.record.Takte = 2;
  s.record.InfoHersteller = "[Takte]";
  s.record.InfoKommentar = "Hinweis\n[Zylinder]\n8\n\nEnde";
  EXPECT_EQ(loadBytes(s, ignitionFileText(s)), 0);
  EXPECT_EQ(s.record.Zylinder, 6);
  EXPECT_EQ(s.record.Takte, 2);
  EXPECT_EQ(s.record.InfoHersteller, "[Takte]") << "the saver's blank is taken off again";
  EXPECT_EQ(s.record.InfoKommentar, "Hinweis\n [Zylinder]\n8\n \nEnde");
}

TEST(IgnitionFileSave, UnwritablePlaceGives8016) {
  TempFolder folder;
  const std::string path = folder / "fehlt/Kunde.Ignar";
  EXPECT_EQ(saveIgnitionFile(freshState(), path), texts::kTextCannotOpenFile);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(IgnitionFileSave, ReplacesAnExistingFile) {
  TempFolder folder;
  const std::string path = folder / "Kunde.Ignar";
  writeFile(path, std::string(5000, 'x'));
  IgnitionState s = freshState();
  ASSERT_EQ(saveIgnitionFile(s, path), 0);
  EXPECT_EQ(readFile(path), ignitionFileText(s));
}

class IgnitionFileDialogTest : public ::testing::Test {
 protected:
  void TearDown() override { shell::FileDialog::setChooser(nullptr); }

  shell::SettingsFile::Folders folders() const {
    return {root / "work", root / "config", root / "docs"};
  }
  // The path the chooser hands back, empty for "Abbrechen"; what it saw.
  void choose(std::string path) {
    shell::FileDialog::setChooser(
        [this, path](shell::FileDialog::Kind kind, const shell::FileDialog& d, std::string& out) {
          seenKind = kind;
          seenFolder = d.folder();
          seenFilters = d.filters();
          out = path;
          return !path.empty();
        });
  }

  TempFolder root;
  shell::FileDialog::Kind seenKind = shell::FileDialog::Kind::Open;
  std::string seenFolder;
  std::vector<std::pair<std::string, std::string>> seenFilters;
};

TEST_F(IgnitionFileDialogTest, FilterFollowsTheProductLine) {
  struct Case {
    int32_t hwTyp;
    std::string description, pattern;
  } cases[] = {
      {0x0000, "Ignar Kennliniendatei (*.Ignar)", "*.Ignar;*.Fulgo;*.zeb"},
      {0x0B00, "Fulgo Kennliniendatei (*.Fulgo)", "*.Fulgo;*.Ignar;*.zeb"},
      {0x0C00, "Ignar Kennliniendatei (*.Ignar)", "*.Ignar;*.Fulgo;*.zeb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hwTyp);
    IgnitionState s = freshState();
    s.record.HwTyp = c.hwTyp;
    deriveCapabilities(s.record);
    const FileFilter f = ignitionFileFilter(s.record.capability);
    EXPECT_EQ(f.description, c.description);
    EXPECT_EQ(f.pattern, c.pattern);

    shell::SettingsFile settings(folders(), "ZEB/Tunvexa", "V6.5.0", "Tunvexa");
    shell::FileDialog dialog;
    choose("");
    EXPECT_EQ(saveIgnitionFileWithDialog(s, dialog, settings), 0);
    ASSERT_EQ(seenFilters.size(), 1u) << "the page's filter replaces \"alle Dateien\"";
    EXPECT_EQ(seenFilters[0].first, c.description);
    EXPECT_EQ(seenFilters[0].second, c.pattern);
  }
}

TEST_F(IgnitionFileDialogTest, StartsInTheStoredFolder) {
  {
    shell::SettingsFile settings(folders(), "ZEB/Tunvexa", "V6.5.0", "Tunvexa");
    shell::FileDialog dialog;
    initialiseIgnitionFileDialog(dialog, settings);
    EXPECT_EQ(dialog.folder(), root / "docs/ZEB/Tunvexa");
    settings.set("PfadZuendung", "/daten/kunden/");
  }
  shell::SettingsFile settings(folders(), "ZEB/Tunvexa", "V6.5.0", "Tunvexa");
  shell::FileDialog dialog;
  initialiseIgnitionFileDialog(dialog, settings);
  EXPECT_EQ(dialog.folder(), "/daten/kunden/");
}

TEST_F(IgnitionFileDialogTest, CancelChangesNothing) {
  shell::SettingsFile settings(folders(), "ZEB/Tunvexa", "V6.5.0", "Tunvexa");
  settings.set("PfadZuendung", "/alt/");
  shell::FileDialog dialog;
  initialiseIgnitionFileDialog(dialog, settings);
  IgnitionState s = fullState();
  const std::string before = ignitionFileText(s);
  choose("");
  EXPECT_EQ(loadIgnitionFileWithDialog(s, dialog, settings), 0);
  EXPECT_EQ(seenKind, shell::FileDialog::Kind::Open);
  EXPECT_EQ(seenFolder, "/alt/");
  EXPECT_EQ(ignitionFileText(s), before);
  EXPECT_EQ(settings.get("PfadZuendung", ""), "/alt/");
}

TEST_F(IgnitionFileDialogTest, ChosenFolderIsKept) {
  shell::SettingsFile settings(folders(), "ZEB/Tunvexa", "V6.5.0", "Tunvexa");
  shell::FileDialog dialog;
  initialiseIgnitionFileDialog(dialog, settings);
  const std::string folder = root / "kunden/";
  std::filesystem::create_directories(folder);

  IgnitionState saved = fullState();
  choose(folder + "Meier.Ignar");
  EXPECT_EQ(saveIgnitionFileWithDialog(saved, dialog, settings), 0);
  EXPECT_EQ(seenKind, shell::FileDialog::Kind::Save);
  EXPECT_EQ(settings.get("PfadZuendung", ""), folder);
  EXPECT_EQ(readFile(folder + "Meier.Ignar"), ignitionFileText(saved));

  settings.set("PfadZuendung", "/anderswo/");
  IgnitionState loaded = freshState();
  EXPECT_EQ(loadIgnitionFileWithDialog(loaded, dialog, settings), 0);
  EXPECT_EQ(seenFolder, folder) << "the next dialog starts where the last one ended";
  EXPECT_EQ(settings.get("PfadZuendung", ""), folder);
  EXPECT_EQ(loaded.record.InfoHersteller, "Müller & Söhne");
  EXPECT_TRUE(loaded.recordValid);
}

}  // namespace
