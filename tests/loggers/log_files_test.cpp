#include "modules/loggers/log_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "log_blocks.h"
#include "shell/scripted_prompts.h"
#include "tests/support/temp_folder.h"
#include "texts/logger_text_ids.h"
#include "texts/text_ids.h"

namespace loggers::test {
namespace {

bool allErased(const std::string& bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == '\xFF'; });
}

TEST(CarLogFile, SizeFromTheRecordingHours) {
  const struct {
    int32_t hours;
    uint64_t bytes;
    bool window;
  } cases[] = {
      {10, 1515520, false},  // 10 x 148 x 1024
      {1, 151552, false},
      {1000, 151552000, true},  // the largest card: a wait window
  };
  for (const auto& c : cases) {
    test_files::TempFolder folder;
    shell::ScriptedPrompts prompts;
    ASSERT_EQ(createCarLogFile(folder.path(), c.hours, prompts), 0);
    const std::string bytes = test_files::readFile(folder / "LogDatei.bin");
    EXPECT_EQ(bytes.size(), c.bytes) << c.hours;
    EXPECT_TRUE(allErased(bytes));
    EXPECT_EQ(prompts.waitOpened, c.window ? 1 : 0);
    EXPECT_EQ(prompts.waitClosed, prompts.waitOpened);
    if (c.window) {
      EXPECT_EQ(prompts.lastWaitText, texts::kTextCreatingLogFile);
    }
  }
  EXPECT_EQ(carLogKiloBytes(5), 740);
}

TEST(CarLogFile, FailuresAreTold) {
  test_files::TempFolder folder;
  shell::ScriptedPrompts prompts;
  EXPECT_EQ(createCarLogFile(folder / "missing", 5, prompts), texts::kTextCannotOpenLogFile);
  EXPECT_EQ(createCarLogFile(folder.path(), 0, prompts), texts::kTextParameterOutOfRange);
  EXPECT_EQ(createCarLogFile(folder.path(), 1001, prompts), texts::kTextParameterOutOfRange);
  // A card that is full: the cut file is not left behind.
  std::filesystem::create_symlink("/dev/full", folder / "full.bin");
  EXPECT_EQ(writeErasedFile(folder / "full.bin", 3 << 20, 1 << 20, 1, nullptr),
            texts::kTextFileWriteError);
}

TEST(SerialLogFile, MegabytesInPiecesWithAStepPerMegabyte) {
  test_files::TempFolder folder;
  shell::ScriptedPrompts prompts;
  ASSERT_EQ(createSerialLogFile(folder.path(), 3, prompts), 0);
  const std::string bytes = test_files::readFile(folder / "LogDatei.bin");
  EXPECT_EQ(bytes.size(), 3145728u);
  EXPECT_TRUE(allErased(bytes));
  EXPECT_EQ(prompts.lastWaitSteps, 3);
  EXPECT_EQ(prompts.waitSteps, 3);
  EXPECT_EQ(prompts.lastWaitText, texts::kTextCreatingLogFile);
  EXPECT_EQ(createSerialLogFile(folder / "missing", 3, prompts), texts::kTextCannotOpenLogFile);
}

TEST(SerialLogCopy, CopiesTheRecordedPartAndErasesOnRequest) {
  test_files::TempFolder folder;
  // Three blocks in use on a card of 64 blocks.
  std::string card = join({block(2020, 1, 1, 1, 0, 0, 7), block(2020, 1, 1, 1, 0, 1, 8),
                           block(2020, 1, 1, 1, 0, 2, 9)});
  card.resize(64 * 512, '\xFF');
  test_files::writeFile(folder / "LogDatei.bin", card);
  for (const bool erase : {false, true}) {
    shell::ScriptedPrompts prompts;
    prompts.yesNoAnswers.push_back(erase);
    const std::string copy = folder / (erase ? "b.bin" : "a.bin");
    const int32_t r = copyRecordedLog(
        folder / "LogDatei.bin",
        [&](std::string& path) {
          path = copy;
          return true;
        },
        prompts);
    ASSERT_EQ(r, 0);
    EXPECT_TRUE(test_files::readFile(copy) == card.substr(0, 1536));
    EXPECT_EQ(prompts.questions, std::vector<int32_t>{texts::kTextDeleteOriginalLog});
    const std::string after = test_files::readFile(folder / "LogDatei.bin");
    EXPECT_EQ(after.size(), card.size());
    EXPECT_EQ(allErased(after), erase);
  }
  // Now erased: nothing to copy.
  shell::ScriptedPrompts prompts;
  EXPECT_EQ(copyRecordedLog(
                folder / "LogDatei.bin", [](std::string&) { return true; }, prompts),
            texts::kTextFileEmpty);
  EXPECT_EQ(copyRecordedLog(
                folder / "none.bin", [](std::string&) { return true; }, prompts),
            texts::kTextCannotOpenLogFile);
}

}  // namespace
}  // namespace loggers::test
