#include <gtest/gtest.h>

#include "tests/e2e/process_support.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace e2e;

std::string cli(int com, const std::string& args) {
  return binary("tunvexa-cli") + " --com " + std::to_string(com) + " " + args + " 2>&1";
}

// The simulator's default bus holds every display; the command line reads
// a gear and a tank display through the pseudo-terminal, writes the files
// back and shows them.
TEST(DisplayCliEndToEnd, GearAndTankReadWriteShow) {
  TempConfig config;
  test_files::TempFolder folder;
  Simulator sim(41);
  ASSERT_FALSE(sim.readyLine().empty());
  const std::string gear = folder / "g.velGang";
  Result r = run(cli(41, "gear read --out " + gear));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, "Lesen Ok\n");
  EXPECT_EQ(test_files::readFile(gear).substr(0, 23), "[Ganganzeige]\r\n20\r\n80\r\n");
  r = run(cli(41, "gear write --in " + gear));
  EXPECT_EQ(r.out, "Schreiben Ok\n");
  EXPECT_EQ(r.status, 0);

  const std::string tank = folder / "t.velTank";
  r = run(cli(41, "tank read --out " + tank));
  EXPECT_EQ(r.out, "Lesen Ok\n");
  r = run(cli(41, "tank show --in " + tank));
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("[Tankgeber1]\n000 L 0800\n020 L 0300\n040 L 0100\n"), std::string::npos)
      << r.out;
  r = run(cli(41, "tank write --in " + tank));
  EXPECT_EQ(r.out, "Schreiben Ok\n");

  r = run(cli(41, "gear show --in " + tank));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "falsche Datei selektiert\n");
  r = run(cli(41, "tank read"));
  EXPECT_EQ(r.status, 2) << "a usage error";
}

}  // namespace
