// tunvexa-cli against tunvexa-sim through a real pseudo-terminal.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "process_support.h"

using namespace e2e;

namespace {

std::string cli(int com, const std::string& args) {
  return binary("tunvexa-cli") + " --com " + std::to_string(com) + " " + args + " 2>&1";
}

TEST(CliEndToEnd, TalksToTheSimulatedModules) {
  TempConfig config;
  Simulator sim(17);
  ASSERT_EQ(sim.readyLine(), "tunvexa-sim: COM17 ready\n");

  Result r = run(cli(17, "version 0xE0"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "V 8.3\n");
  r = run(cli(17, "type 0xE0"));
  EXPECT_EQ(r.out, "0x0800\n");
  r = run(cli(17, "write-byte 0xE0 0x20 77"));
  EXPECT_EQ(r.status, 0);
  r = run(cli(17, "read-byte 0xE0 0x20"));
  EXPECT_EQ(r.out, "77\n") << "the write reached the module";
  r = run(cli(17, "serial 0xE0"));
  EXPECT_EQ(r.out, "0123456\n");
  r = run(cli(17, "dump 0xE0"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 16);
  EXPECT_EQ(r.out.substr(0, 3), "00:");
  r = run(cli(17, "ports"));
  EXPECT_NE(r.out.find("COM17\n"), std::string::npos);
}

TEST(CliEndToEnd, FailuresPrintTheirText) {
  TempConfig config;
  Simulator sim(18);
  ASSERT_FALSE(sim.readyLine().empty());
  Result r = run(cli(18, "version 0x30"));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "Modul nicht gefunden ! \nRichtige Steckverbindung gewählt ?\n");
  r = run(cli(19, "version 0xE0"));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out,
            "Kann COM-Schnittstelle nicht öffnen !\nRichtige Com-Schnittstelle ausgewählt ?\n");
  r = run(cli(18, "search"));
  EXPECT_EQ(r.status, 2) << "no module answers the bit search";
  for (const char* bad :
       {"read-byte 0xE0", "write-byte 0xE0 1 256", "version 0xE3", "frobnicate"}) {
    EXPECT_EQ(run(cli(18, bad)).status, 2) << bad;
  }
  EXPECT_EQ(run(binary("tunvexa-cli") + " --help").status, 0);
}

TEST(CliEndToEnd, SearchListsModulesOfAScenario) {
  TempConfig config;
  std::string scenario = config.folder() + "/bus.txt";
  std::ofstream(scenario) << "# two modules chosen by serial number\n"
                             "serial-module\n  serial 1234567\n  type 0x1005\n"
                             "serial-module\n  serial 7000001\n  type 0x3302\n";
  Simulator sim(21, {"--scenario", scenario});
  ASSERT_FALSE(sim.readyLine().empty());
  Result r = run(cli(21, "search"));
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("serial 1234567 type 0x1005\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("serial 7000001 type 0x3302\n"), std::string::npos) << r.out;
}

}  // namespace
