// tunvexa-cli's logger commands, against tunvexa-sim on a pseudo-terminal
// where they talk to a module.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "log_blocks.h"
#include "tests/e2e/process_support.h"

namespace loggers::test {
namespace {

std::string cli(const std::string& args) {
  return e2e::binary("tunvexa-cli") + " " + args + " 2>&1";
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(LoggerCli, ConversionIsReproducibleWithAGivenTime) {
  e2e::TempConfig config;
  const std::string dir = config.folder();
  Block b = block(2019, 3, 3, 23, 59, 59);
  setStream(b, {98, 255, 0x0E, 0xA6});
  std::ofstream(dir + "/LogDatei.bin", std::ios::binary) << join({b, erasedBlock()});
  const std::string at = " --at \"2019-03-03 14:05:07\" ";
  for (const char* out : {"/a.txt", "/b.txt"}) {
    const e2e::Result r = e2e::run("cd " + dir + " && " +
                                   cli("lambda convert" + at + dir + "/LogDatei.bin " + dir + out));
    EXPECT_EQ(r.status, 0) << r.out;
  }
  const std::string text =
      "Konvertiert am 03.03.2019 um 14:05:07\r\n\r\nDatum\tUhrzeit\tDrehzahl\tLambda\r\n"
      "\r\n03.03.2019\t23:59:59\t 1000\t0,98";
  EXPECT_EQ(slurp(dir + "/a.txt"), text);
  EXPECT_EQ(slurp(dir + "/b.txt"), text);
  EXPECT_EQ(slurp(dir + "/a-Dump.bin").size(), 512u);

  const e2e::Result csv =
      e2e::run(cli("lambda convert --csv " + dir + "/LogDatei.bin " + dir + "/c.csv"));
  EXPECT_EQ(csv.status, 0) << csv.out;
  EXPECT_EQ(slurp(dir + "/c.csv"),
            "time,engine speed [1/min],lambda\n2019-03-03T23:59:59.000,,0.98\n"
            "2019-03-03T23:59:59.013,1000,\n");

  // The car logger needs its vehicle file.
  const e2e::Result missing = e2e::run(cli("carlogger convert --vehicle " + dir + "/none.zeb " +
                                           dir + "/LogDatei.bin " + dir + "/d.txt"));
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.out, "Bitte Fahrzeugdatei wählen\n");
  EXPECT_EQ(e2e::run(cli("lambda convert --at yesterday x y")).status, 2);
}

TEST(LoggerCli, ModuleCommandsAgainstTheSimulator) {
  e2e::TempConfig config;
  e2e::Simulator sim(71);
  ASSERT_EQ(sim.readyLine(), "tunvexa-sim: COM71 ready\n");
  e2e::Result r = e2e::run(cli("--com 71 carlogger clock --ignition --at \"2019-03-03 14:05:07\""));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "V 1.2\nUhrzeit gestellt\n");
  r = e2e::run(cli("--com 71 rpmlogger write --limit 6000"));
  EXPECT_EQ(r.status, 0) << r.out;
  r = e2e::run(cli("--com 71 rpmlogger read"));
  EXPECT_NE(r.out.find("Drehzahlgrenze 6000\nmaximale Drehzahl 0\n"), std::string::npos) << r.out;
  r = e2e::run(cli("--com 71 seriallogger write --mode dso --rate 20"));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "Parameter außerhalb des Bereichs\n");
  r = e2e::run(cli("--com 71 lambda write --day 90 --night 10"));
  EXPECT_EQ(r.out, "V 1.0\nSchreiben Ok\n");
  r = e2e::run(cli("--com 71 lambda read"));
  EXPECT_EQ(r.out, "V 1.0\nTag 90\nNacht 10\nLesen Ok\n");
}

}  // namespace
}  // namespace loggers::test
