#include <gtest/gtest.h>

#include <filesystem>

#include "modules/displays/display_kind.h"
#include "shell/file_dialog.h"
#include "shell/settings_file.h"
#include "tests/support/temp_folder.h"

namespace displays {
namespace {

TEST(DisplayFileChoice, FilterFolderKeyAndCancel) {
  test_files::TempFolder folder;
  shell::SettingsFile::Folders folders{folder / "work", folder / "appdata", folder / "docs"};
  for (const std::string& f : {folders.working, folders.applicationData, folders.documents})
    std::filesystem::create_directories(f);
  shell::SettingsFile settings(folders, "ZEB/Tunvexa", "V6.5.0", "Tunvexa");
  shell::FileDialog dialog;
  initialiseDisplayFileDialog(DisplayKind::Tank, dialog, settings);
  ASSERT_EQ(dialog.filters().size(), 1u);
  EXPECT_EQ(dialog.filters()[0].first, "Tankanzeige Kennliniendatei (*.velTank)");
  EXPECT_EQ(dialog.filters()[0].second, "*.velTank;*.zeb;*.lme");
  const std::string stored = settings.get("PfadTank", "");

  std::string answer;  // empty: the user cancels
  shell::FileDialog::setChooser(
      [&answer](shell::FileDialog::Kind, const shell::FileDialog&, std::string& chosen) {
        chosen = answer;
        return !answer.empty();
      });
  EXPECT_FALSE(chooseDisplayFile(DisplayKind::Tank, false, dialog, settings));
  EXPECT_EQ(settings.get("PfadTank", ""), stored) << "a cancelled choice keeps the folder key";
  answer = folder / "sub/t.velTank";
  EXPECT_EQ(chooseDisplayFile(DisplayKind::Tank, true, dialog, settings), answer);
  EXPECT_EQ(settings.get("PfadTank", ""), folder / "sub/");
  shell::FileDialog::setChooser({});
}

}  // namespace
}  // namespace displays
