#include "viewers/common/err_log.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "viewers_test_support.h"

namespace {

TEST(ErrLog, LinesUnderTheirFunctionNameOnlyWhileEnabled) {
  viewers_test::TempFolder tmp;
  const std::string path = tmp / "Err.log";
  viewers_test::writeFile(path, "vom letzten Lauf\r\n");
  {
    viewers::CErrLog log(path);
    log.FunktionsName("Verbinden");
    log.AddLog("verworfen");
    EXPECT_FALSE(std::filesystem::exists(path)) << "an old log is deleted on first use";
    log.LogEnabled(true);
    log.AddLog("Port offen");
    log.FunktionsName("Verbinden");
    log.AddLog("Modul gefunden");
    log.FunktionsName("Lesen");
    log.AddLog(
        "Gr\xC3\xB6\xC3\x9F"
        "e 4");
    log.LogEnabled(false);
    log.AddLog("aus");
  }
  EXPECT_EQ(viewers_test::readFile(path),
            "Verbinden\r\n\tPort offen\r\n\tModul gefunden\r\nLesen\r\n\tGr\xF6\xDF"
            "e 4\r\n");
}

}  // namespace
