#include "shell/file_dialog.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/user_folders.h"

namespace {

using shell::FileDialog;

class FileDialogTest : public ::testing::Test {
 protected:
  void TearDown() override { FileDialog::setChooser(nullptr); }
};

TEST_F(FileDialogTest, StartsWithAllFiles) {
  FileDialog dialog;
  EXPECT_EQ(dialog.fileName(), "");
  ASSERT_EQ(dialog.filters().size(), 1u);
  EXPECT_EQ(dialog.filters()[0].first, "alle Dateien (*.*)");
  EXPECT_EQ(dialog.filters()[0].second, "*.*");
}

TEST_F(FileDialogTest, FilterListFitsItsBuffer) {
  FileDialog dialog;
  dialog.clearFilters();
  EXPECT_TRUE(dialog.filters().empty());
  EXPECT_EQ(dialog.addFilter("Gang-Anzeige (*.velGang)", "*.velGang"), 0);
  // 24 + 1 + 9 + 1 = 35 bytes used; a pair may take up to 4096 - 35 - 3.
  const size_t room = 4096 - 35 - 2 - 1;
  EXPECT_EQ(dialog.addFilter(std::string(room - 5, 'd'), "*.zeb"), 0);
  EXPECT_EQ(dialog.addFilter("", ""), 2);
  EXPECT_EQ(dialog.filters().size(), 2u);

  dialog.clearFilters();
  EXPECT_EQ(dialog.addFilter("Gang-Anzeige (*.velGang)", "*.velGang"), 0);
  EXPECT_EQ(dialog.addFilter(std::string(room - 4, 'd'), "*.zeb"), 2);
  EXPECT_EQ(dialog.filters().size(), 1u);
}

TEST_F(FileDialogTest, LeadingSpaceMeansWorkingFolder) {
  FileDialog dialog;
  EXPECT_EQ(dialog.setFolder(" "), 0);
  EXPECT_EQ(dialog.folder(), platform::currentFolder());
  EXPECT_EQ(dialog.setFolder(" /daten/"), 0);
  EXPECT_EQ(dialog.folder(), platform::currentFolder());
  EXPECT_EQ(dialog.setFolder("/daten/kunden/"), 0);
  EXPECT_EQ(dialog.folder(), "/daten/kunden/");
  EXPECT_EQ(dialog.setFileName(" x"), 0);
  EXPECT_EQ(dialog.fileName(), platform::currentFolder());
}

TEST_F(FileDialogTest, OverlongPathsAreRefused) {
  FileDialog dialog;
  dialog.setFolder("/daten/");
  EXPECT_EQ(dialog.setFolder("/" + std::string(4096, 'a')), 1);
  EXPECT_EQ(dialog.folder(), "/daten/");
  EXPECT_EQ(dialog.setFolder(std::string(4096, 'a')), 0);
  EXPECT_EQ(dialog.setFileName(std::string(4097, 'a')), 1);
  EXPECT_EQ(dialog.fileName(), "");
}

TEST_F(FileDialogTest, ChosenPathSetsFileNameAndFolder) {
  FileDialog::Kind seenKind = FileDialog::Kind::Save;
  std::string seenFolder;
  size_t seenFilters = 0;
  FileDialog::setChooser([&](FileDialog::Kind kind, const FileDialog& d, std::string& chosen) {
    seenKind = kind;
    seenFolder = d.folder();
    seenFilters = d.filters().size();
    chosen = "/daten/kunden/Meier/gang.velGang";
    return true;
  });
  FileDialog dialog;
  dialog.setFolder("/daten/");
  dialog.addFilter("Gang-Anzeige (*.velGang)", "*.velGang");
  std::string path;
  EXPECT_EQ(dialog.openDialog(path), 0);
  EXPECT_EQ(seenKind, FileDialog::Kind::Open);
  EXPECT_EQ(seenFolder, "/daten/");
  EXPECT_EQ(seenFilters, 2u);
  EXPECT_EQ(path, "/daten/kunden/Meier/gang.velGang");
  EXPECT_EQ(dialog.fileName(), path);
  EXPECT_EQ(dialog.folder(), "/daten/kunden/Meier/");

  std::string saved;
  EXPECT_EQ(dialog.saveDialog(saved), 0);
  EXPECT_EQ(seenKind, FileDialog::Kind::Save);
  EXPECT_EQ(seenFolder, "/daten/kunden/Meier/");
}

TEST_F(FileDialogTest, CancelLeavesEverything) {
  FileDialog dialog;
  dialog.setFolder("/daten/");
  std::string path = "unverändert";
  EXPECT_EQ(dialog.openDialog(path), 1);  // no chooser installed
  FileDialog::setChooser([](FileDialog::Kind, const FileDialog&, std::string& chosen) {
    chosen = "/anderswo/datei";
    return false;
  });
  EXPECT_EQ(dialog.openDialog(path), 1);
  EXPECT_EQ(dialog.saveDialog(path), 1);
  EXPECT_EQ(path, "unverändert");
  EXPECT_EQ(dialog.folder(), "/daten/");
  EXPECT_EQ(dialog.fileName(), "");
}

}  // namespace
