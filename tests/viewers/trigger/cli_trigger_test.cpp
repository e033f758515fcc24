// "tunvexa-cli trigger analyse" and "trigger export" on saved recordings and
// raw captures, run as a workshop script would run them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "tests/viewers/common/viewers_test_support.h"
#include "tests/viewers/trigger/wheel_signal.h"
#include "viewers/trigger/trigger_data_file.h"

namespace {

using viewers_test::TempFolder;

struct CliRun {
  int status = -1;
  std::string out;
};

CliRun cli(const std::string& arguments) {
  CliRun r;
  const std::string command =
      std::string(TUNVEXA_BIN_DIR) + "/tunvexa-cli/tunvexa-cli " + arguments + " 2>/dev/null";
  FILE* p = popen(command.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n = 0;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int status = pclose(p);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

std::string quoted(const std::string& path) {
  return "'" + path + "'";
}

std::string savedWheel(const TempFolder& dir, const trigger_test::WheelSignal& s) {
  viewers_test::RecordingMessages quiet;
  const std::string path = dir / "wheel.dat";
  trigger::saveTriggerData(path, trigger_test::generateWheel(s).recording, {}, quiet);
  return path;
}

TEST(TriggerCli, AnalyseTellsWhetherTheWheelMatches) {
  TempFolder dir;
  const std::string file = quoted(savedWheel(dir, {60, 2, 12, 12}));
  CliRun r = cli("trigger analyse " + file + " --teeth 60 --gap 2");
  EXPECT_EQ(r.status, 0) << r.out;
  // 720 samples a revolution: 81 whole gaps in 59 000 samples, the first
  // at sample 690 (tooth 57's low half), the next 720 later.
  EXPECT_NE(r.out.find("samples 59000\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("gaps 81\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("gap 1 at sample 690\ngap 2 at sample 1410\n"), std::string::npos);
  EXPECT_NE(r.out.find("teeth between gaps 58 58 "), std::string::npos);
  EXPECT_NE(r.out.find("wheel 60-2: match\n"), std::string::npos);

  r = cli("trigger analyse " + file + " --teeth 36 --gap 1");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("wheel 36-1: no match\n"), std::string::npos);
}

TEST(TriggerCli, RawCapturesAndEmptyRecordings) {
  TempFolder dir;
  viewers_test::writeFile(dir / "leer.bin", "");
  CliRun r = cli("trigger analyse " + quoted(dir / "leer.bin"));
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("samples 0\nKeine Daten!\n"), std::string::npos) << r.out;

  std::string text = "x\r\nT\tee 20 35 a1\r\nR\tee 20 35 a1\r\nR\tee 20 00 94\r\n";
  for (int i = 0; i < 3; ++i) text += "R\tee f0 0f 00\r\n";
  viewers_test::writeFile(dir / "capture.txt", text);
  r = cli("trigger analyse " + quoted(dir / "capture.txt"));
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("samples 25\nZu wenig richtige Daten vorhanden.\n"), std::string::npos)
      << r.out;

  r = cli("trigger analyse " + quoted(dir / "fehlt.dat"));
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("Datei existiert nicht!"), std::string::npos);
  EXPECT_EQ(cli("trigger analyse").status, 2);
  EXPECT_EQ(cli("trigger analyse x --teeth").status, 2);
}

TEST(TriggerCli, ExportWritesTheSamplesOldestFirst) {
  TempFolder dir;
  viewers_test::writeFile(dir / "a.bin", std::string("\xEE\xA5\x0F\x00", 4));
  CliRun r = cli("trigger export " + quoted(dir / "a.bin") + " " + quoted(dir / "a.csv"));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(viewers_test::readFile(dir / "a.csv"),
            "Index;Kanal A;Kanal B\r\n0;1;0\r\n1;0;0\r\n2;1;0\r\n3;0;0\r\n4;0;1\r\n5;1;1\r\n6;0;"
            "1\r\n7;1;1\r\n");
  r = cli("trigger export " + quoted(dir / "a.bin") + " " + quoted(dir / "b.csv") + " --channel B");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(viewers_test::readFile(dir / "b.csv").substr(0, 25), "Index;Kanal B\r\n0;0\r\n1;0\r\n");
  EXPECT_EQ(cli("trigger export " + quoted(dir / "a.bin") + " x.csv --channel C").status, 2);
}

}  // namespace
