#include "viewers/common/viewer_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "viewers_test_support.h"

namespace {

using viewers::ProductInfo;

TEST(ViewerFolders, VersionTextWithoutLeadingZeros) {
  EXPECT_EQ(viewers::versionText({"Taktora", 1, 02, 0001}), "V1.2.1");
  EXPECT_EQ(viewers::versionText({"Funkora", 10, 0, 12}), "V10.0.12");
}

TEST(ViewerFolders, ProductFoldersBelowZeb) {
  viewers_test::TempFolder tmp;
  viewers::ViewerFolders folders{tmp / "programm", tmp / "config", tmp / "etc", tmp / "docs"};
  const ProductInfo funkora{viewers::kProductFunkora, 1, 2, 1};

  EXPECT_EQ(viewers::applicationDataBase(folders, funkora), tmp / "config/ZEB/Funkora V1.2.1/");
  EXPECT_TRUE(std::filesystem::is_directory(tmp / "config/ZEB/Funkora V1.2.1"));
  EXPECT_EQ(viewers::applicationDataBase(folders, funkora, true), tmp / "etc/ZEB/Funkora V1.2.1/");
  EXPECT_FALSE(std::filesystem::exists(tmp / "etc"));

  EXPECT_EQ(viewers::documentsBase(folders, funkora), tmp / "docs/ZEB/Funkora V1.2.1/");
  EXPECT_TRUE(std::filesystem::is_directory(tmp / "docs/ZEB"));
  EXPECT_FALSE(std::filesystem::exists(tmp / "docs/ZEB/Funkora V1.2.1"));

  // A portable installation keeps both beside the program.
  std::filesystem::create_directories(tmp / "programm/Anwendungsdaten");
  std::filesystem::create_directories(tmp / "programm/Eigene Dateien");
  EXPECT_EQ(viewers::applicationDataBase(folders, funkora), tmp / "programm/Anwendungsdaten/");
  EXPECT_EQ(viewers::documentsBase(folders, funkora), tmp / "programm/Eigene Dateien/");
}

TEST(ViewerFolders, FromTheDesktopsFolders) {
  viewers_test::TempFolder tmp;
  viewers_test::ScopedEnv home("HOME", tmp.path());
  viewers_test::ScopedEnv config("XDG_CONFIG_HOME", tmp / "conf");
  viewers_test::ScopedEnv documents("XDG_DOCUMENTS_DIR", tmp / "Dokumente");
  viewers_test::ScopedEnv dirs("XDG_CONFIG_DIRS", tmp / "xdg/:/etc/xdg");
  auto folders = viewers::ViewerFolders::fromEnvironment(tmp / "bin");
  EXPECT_EQ(folders.program, tmp / "bin");
  EXPECT_EQ(folders.userData, tmp / "conf");
  EXPECT_EQ(folders.allUsersData, tmp / "xdg");
  EXPECT_EQ(folders.documents, tmp / "Dokumente");
}

}  // namespace
