#include "shell/settings_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace {

using shell::SettingsFile;
using test_files::readFile;
using test_files::TempFolder;
using test_files::writeFile;

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFile::Folders folders() const { return {root / "work", root / "config", root / "docs"}; }
  std::string versionFolder(const std::string& version) const {
    return root / ("config/ZEB/Tunvexa/" + version);
  }
  std::string iniPath() const { return versionFolder("V6.5.0") + "/Tunvexa.ini"; }
  SettingsFile open() const { return SettingsFile(folders(), "ZEB/Tunvexa", "V6.5.0", "Tunvexa"); }
  // An existing settings file of this version.
  void install(const std::string& bytes) const { writeFile(iniPath(), bytes); }

  void SetUp() override { std::filesystem::create_directories(root / "work"); }

  TempFolder root;
};

std::vector<std::string> folderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST_F(SettingsFileTest, FreshInstallListsEveryKeyReadInFirstReadOrder) {
  {
    SettingsFile settings = open();
    EXPECT_EQ(settings.path(), iniPath());
    EXPECT_EQ(settings.programFolder(), root / "work");
    // The new file exists, empty, from the start.
    EXPECT_EQ(readFile(iniPath()), "");
    // The start-up order: port, the pages' folder keys, then the page list.
    EXPECT_EQ(settings.getInt("ComPort", 1), 1);
    EXPECT_EQ(settings.get("PfadGang", settings.defaultFolder()), root / "docs/ZEB/Tunvexa");
    settings.get("PfadTank", settings.defaultFolder());
    EXPECT_EQ(settings.getInt("FensterListe", 1), 1);
    // A second read adds nothing.
    EXPECT_EQ(settings.getInt("ComPort", 5), 1);
    EXPECT_TRUE(settings.changed());
  }
  const std::string docs = root / "docs/ZEB/Tunvexa";
  EXPECT_EQ(readFile(iniPath()),
            "ComPort=1\r\nPfadGang=" + docs + "\r\nPfadTank=" + docs + "\r\nFensterListe=1\r\n");
}

struct MigrationCase {
  const char* name;
  std::vector<std::string> folders;  // version folders present, each with a file naming itself
  std::vector<std::string> emptyFolders;
  std::string expected;  // "" = starts empty
};

class SettingsMigrationTest : public SettingsFileTest,
                              public ::testing::WithParamInterface<MigrationCase> {};

TEST_P(SettingsMigrationTest, CopiesTheHighestEarlierVersion) {
  const MigrationCase& c = GetParam();
  for (const std::string& v : c.folders)
    writeFile(versionFolder(v) + "/Tunvexa.ini", "Von=" + v + "\r\n");
  for (const std::string& v : c.emptyFolders) std::filesystem::create_directories(versionFolder(v));
  {
    SettingsFile settings = open();
    EXPECT_FALSE(settings.changed());
  }
  EXPECT_EQ(readFile(iniPath()), c.expected);
  for (const std::string& v : c.folders) {
    EXPECT_EQ(readFile(versionFolder(v) + "/Tunvexa.ini"), "Von=" + v + "\r\n") << v;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Versions, SettingsMigrationTest,
    ::testing::Values(
        MigrationCase{"V631andV640", {"V6.3.1", "V6.4.0"}, {}, "Von=V6.4.0\r\n"},
        MigrationCase{"NumbersNotLetters", {"V6.9.9", "V6.10.0", "V6.4.12"}, {}, "Von=V6.10.0\r\n"},
        // This version's own folder without a file is the highest: a fresh start.
        MigrationCase{"OwnFolderWins", {"V6.4.0"}, {"V6.5.0"}, ""},
        MigrationCase{"NewerVersionWins", {"V6.4.0", "V7.0.1"}, {}, "Von=V7.0.1\r\n"},
        // "V6.4" counts as 6.4.0, whose file is then taken.
        MigrationCase{"MissingNumbersCountZero", {"V6.4.0"}, {"V6.4"}, "Von=V6.4.0\r\n"},
        MigrationCase{
            "NamesParsedByNumbers", {"V6.3.1"}, {"Vorlage", "V6.2-beta9"}, "Von=V6.3.1\r\n"},
        MigrationCase{"NoEarlierVersion", {}, {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFileTest, LastLineWithoutLineEnd) {
  install("ComPort=3\r\nFensterListe=5");
  {
    SettingsFile settings = open();
    EXPECT_EQ(settings.get("FensterListe", "1"), "5");
    EXPECT_EQ(settings.get("ComPort", "1"), "3");
    EXPECT_EQ(settings.get("PfadBalken", "/b/"), "/b/");
  }
  EXPECT_EQ(readFile(iniPath()), "ComPort=3\r\nFensterListe=5\r\nPfadBalken=/b/\r\n");
}

TEST_F(SettingsFileTest, UnchangedSetLeavesTheFileUntouched) {
  const std::string original = "ComPort=7\r\nFensterListe=3\r\n";
  install(original);
  // An old time stamp, so that any rewrite would show.
  timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, iniPath().c_str(), old, 0), 0);
  struct stat before {};
  ASSERT_EQ(::stat(iniPath().c_str(), &before), 0);
  {
    SettingsFile settings = open();
    EXPECT_EQ(settings.set("ComPort", "7"), 0);
    EXPECT_FALSE(settings.changed());
    EXPECT_EQ(settings.flush(), 0);
  }
  struct stat after {};
  ASSERT_EQ(::stat(iniPath().c_str(), &after), 0);
  EXPECT_EQ(readFile(iniPath()), original);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_ino, before.st_ino);
}

struct SetCase {
  const char* name;
  std::string before;
  std::string key, value;
  std::string after;
};

class SettingsSetTest : public SettingsFileTest, public ::testing::WithParamInterface<SetCase> {};

TEST_P(SettingsSetTest, ReplacesTheValueInPlace) {
  const SetCase& c = GetParam();
  install(c.before);
  {
    SettingsFile settings = open();
    EXPECT_EQ(settings.set(c.key, c.value), 0);
    EXPECT_EQ(settings.get(c.key, "unused"), c.value);
  }
  EXPECT_EQ(readFile(iniPath()), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsSetTest,
    ::testing::Values(
        SetCase{"Shorter", "PfadZuendung=/daten/kunden/zuendungen/alt/\r\nComPort=2\r\n",
                "PfadZuendung", "/b/", "PfadZuendung=/b/\r\nComPort=2\r\n"},
        SetCase{"Longer", "ComPort=2\r\nPfadGang=/a/\r\n", "ComPort", "12",
                "ComPort=12\r\nPfadGang=/a/\r\n"},
        SetCase{"ToEmpty", "ComPort=2\r\nPfadGang=/a/\r\n", "PfadGang", "",
                "ComPort=2\r\nPfadGang=\r\n"},
        SetCase{"MissingKeyIsAdded", "ComPort=2\r\n\r\n\r\n", "PfadTank", "/t/",
                "ComPort=2\r\nPfadTank=/t/\r\n"},
        // Other lines keep their own line ends.
        SetCase{"LfLinesStay", "A=1\nComPort=2\nB=3\n", "ComPort", "4", "A=1\nComPort=4\nB=3\n"},
        // Stored as cp1252, like the Windows program's file.
        SetCase{"Umlaut", "ComPort=2\r\n", "PfadZuendung", "/home/jürgen/",
                "ComPort=2\r\nPfadZuendung=/home/j\xFCrgen/\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct MatchCase {
  const char* name;
  std::string file;
  std::string value;  // of ComPort; "default" when no line matches
};

class SettingsMatchTest : public SettingsFileTest,
                          public ::testing::WithParamInterface<MatchCase> {};

TEST_P(SettingsMatchTest, FindsTheFirstLineOfTheKey) {
  install(GetParam().file);
  SettingsFile settings = open();
  EXPECT_EQ(settings.get("ComPort", "default"), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SettingsMatchTest,
    ::testing::Values(MatchCase{"LongerKey", "ComPortX=7\r\n", "default"},
                      MatchCase{"SpaceBeforeKey", " ComPort=8\r\n", "default"},
                      MatchCase{"NoEqualsSign", "ComPort 8\r\nComPort\r\n", "default"},
                      MatchCase{"CaseMatters", "comport=8\r\n", "default"},
                      MatchCase{"FirstLineWins",
                                "ComPortX=7\r\n ComPort=8\r\nComPort=9\r\nComPort=10\r\n", "9"},
                      MatchCase{"ValueKeepsSpacesAndEquals", "ComPort= 3 = x\r\n", " 3 = x"},
                      MatchCase{"EmptyLinesAndLf", "\r\n\n\nA=1\nComPort=4\n", "4"},
                      MatchCase{"KeyInsideAValue", "A=ComPort=6\r\n", "default"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFileTest, GetIntReadsLikeAtoi) {
  install("A=abc\r\nB= 12x\r\nC=-5\r\nD=99999999999\r\n");
  SettingsFile settings = open();
  EXPECT_EQ(settings.getInt("A", 1), 0);
  EXPECT_EQ(settings.getInt("B", 1), 12);
  EXPECT_EQ(settings.getInt("C", 1), -5);
  EXPECT_EQ(settings.getInt("D", 1), INT32_MAX);
  EXPECT_EQ(settings.getInt("E", 42), 42);
  EXPECT_EQ(settings.get("E", ""), "42");
}

TEST_F(SettingsFileTest, PortableInstallKeepsItsFileBesideTheProgram) {
  const std::string portable = root / "work/Anwendungsdaten/Tunvexa.ini";
  writeFile(portable, "ComPort=4\r\n");
  {
    SettingsFile settings = open();
    EXPECT_EQ(settings.path(), portable);
    EXPECT_EQ(settings.get("ComPort", "1"), "4");
    settings.set("ComPort", "6");
  }
  EXPECT_EQ(readFile(portable), "ComPort=6\r\n");
  // Nothing is created or copied in the application-data folder.
  EXPECT_FALSE(std::filesystem::exists(root / "config"));
}

// The folder is there but holds no file yet: the settings are written into it.
TEST_F(SettingsFileTest, PortableFolderWithoutFileGetsOne) {
  std::filesystem::create_directories(root / "work/Anwendungsdaten");
  {
    SettingsFile settings = open();
    EXPECT_EQ(settings.get("ComPort", "1"), "1");
  }
  EXPECT_EQ(readFile(root / "work/Anwendungsdaten/Tunvexa.ini"), "ComPort=1\r\n");
  EXPECT_FALSE(std::filesystem::exists(root / "config"));
}

// A full disk in the middle of writing must not cost the user the old file.
TEST_F(SettingsFileTest, FailedFlushLeavesTheOldFileWhole) {
  const std::string original =
      "ComPort=2\r\nPfadZuendung=/alt/\r\n" + std::string(150, '#') + "\r\n";
  install(original);
  SettingsFile settings = open();
  ASSERT_EQ(settings.set("PfadZuendung", "/neu/" + std::string(200, 'n') + "/"), 0);

  // Writes beyond 100 bytes fail as on a full disk (EFBIG instead of ENOSPC).
  signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const int32_t result = settings.flush();
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);

  EXPECT_EQ(result, 1);
  EXPECT_EQ(readFile(iniPath()), original);
  EXPECT_EQ(folderEntries(versionFolder("V6.5.0")), std::vector<std::string>{"Tunvexa.ini"});
  EXPECT_TRUE(settings.changed());

  // Once there is room again the next flush saves the change.
  EXPECT_EQ(settings.flush(), 0);
  EXPECT_EQ(settings.get("PfadZuendung", ""), "/neu/" + std::string(200, 'n') + "/");
  EXPECT_NE(readFile(iniPath()).find("PfadZuendung=/neu/nnn"), std::string::npos);
}

TEST_F(SettingsFileTest, FlushIntoAVanishedFolderWritesNothing) {
  SettingsFile settings = open();
  settings.set("ComPort", "3");
  std::filesystem::remove_all(root / "config");
  EXPECT_EQ(settings.flush(), 1);
  EXPECT_FALSE(std::filesystem::exists(root / "config"));
}

TEST_F(SettingsFileTest, SymbolicLinkStaysALink) {
  const std::string target = root / "dotfiles/Tunvexa.ini";
  writeFile(target, "ComPort=2\r\n");
  std::filesystem::create_directories(versionFolder("V6.5.0"));
  std::filesystem::create_symlink(target, iniPath());
  {
    SettingsFile settings = open();
    settings.set("ComPort", "9");
  }
  EXPECT_TRUE(std::filesystem::is_symlink(iniPath()));
  EXPECT_EQ(readFile(target), "ComPort=9\r\n");
}

TEST_F(SettingsFileTest, TextNeverGrowsBeyondItsCapacity) {
  // 32760 bytes: room for a few more, not for another line.
  const std::string original = "ComPort=2\r\nFueller=" + std::string(32739, 'x') + "\r\n";
  ASSERT_EQ(original.size(), 32760u);
  install(original);
  {
    SettingsFile settings = open();
    EXPECT_EQ(settings.get("PfadBalken", "/b/"), "/b/");
    EXPECT_EQ(settings.get("PfadBalken", "/anders/"), "/anders/");
    EXPECT_EQ(settings.set("ComPort", std::string(20, '1')), 1);
    EXPECT_EQ(settings.get("ComPort", ""), "2");
    EXPECT_FALSE(settings.changed());
    // Growing up to the limit itself is fine.
    EXPECT_EQ(settings.set("ComPort", std::string(9, '1')), 0);
    EXPECT_EQ(settings.get("ComPort", ""), std::string(9, '1'));
  }
  const std::string written = readFile(iniPath());
  EXPECT_EQ(written.size(), SettingsFile::kCapacity);
  EXPECT_EQ(written.substr(0, 20), "ComPort=111111111\r\nF");
}

TEST_F(SettingsFileTest, RefusesValuesThatWouldBreakTheLines) {
  install("ComPort=2\r\n");
  SettingsFile settings = open();
  EXPECT_EQ(settings.set("PfadGang", "/a\r\nComPort=9"), 1);
  EXPECT_EQ(settings.set("PfadGang", std::string("/a\0b", 4)), 1);
  EXPECT_EQ(settings.set("Pfad=Gang", "/a/"), 1);
  EXPECT_EQ(settings.get("ComPort", "1"), "2");
  EXPECT_FALSE(settings.changed());
}

}  // namespace
