#include "platform/user_folders.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "shell/folders.h"
#include "tests/support/temp_folder.h"

namespace {

using test_files::TempFolder;
using test_files::writeFile;

// Points the environment at a temporary home and puts it back afterwards.
class UserFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kNames) {
      const char* value = ::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
      ::unsetenv(name);
    }
    ::setenv("HOME", home.path().c_str(), 1);
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value) {
        ::setenv(name, value->c_str(), 1);
      } else {
        ::unsetenv(name);
      }
    }
  }

  TempFolder home;

 private:
  static constexpr const char* kNames[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DOCUMENTS_DIR"};
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST_F(UserFoldersTest, DefaultsBelowHome) {
  EXPECT_EQ(platform::applicationDataFolder(), home / ".config");
  EXPECT_EQ(platform::documentsFolder(), home / "Documents");
  EXPECT_EQ(shell::makerDocumentsFolder(), home / "Documents/ZEB");
}

TEST_F(UserFoldersTest, ConfigHomeMustBeAbsolute) {
  ::setenv("XDG_CONFIG_HOME", (home / "conf/").c_str(), 1);
  EXPECT_EQ(platform::applicationDataFolder(), home / "conf");
  ::setenv("XDG_CONFIG_HOME", "relative/conf", 1);
  EXPECT_EQ(platform::applicationDataFolder(), home / ".config");
}

TEST_F(UserFoldersTest, DocumentsFromUserDirsFile) {
  ::setenv("XDG_CONFIG_HOME", (home / "conf").c_str(), 1);
  writeFile(home / "conf/user-dirs.dirs",
            "# written by xdg-user-dirs-update\n"
            "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
            "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
  EXPECT_EQ(platform::documentsFolder(), home / "Dokumente");
  writeFile(home / "conf/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"" + (home / "elsewhere/") + "\"\n");
  EXPECT_EQ(platform::documentsFolder(), home / "elsewhere");
  // The environment overrides the file.
  ::setenv("XDG_DOCUMENTS_DIR", (home / "env").c_str(), 1);
  EXPECT_EQ(platform::documentsFolder(), home / "env");
  EXPECT_EQ(shell::makerDocumentsFolder(), home / "env/ZEB");
}

TEST_F(UserFoldersTest, HomeWithoutTrailingSlash) {
  ::setenv("HOME", (home.path() + "/").c_str(), 1);
  EXPECT_EQ(platform::documentsFolder(), home / "Documents");
}

}  // namespace
