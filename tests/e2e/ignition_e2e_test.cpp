// The ignition commands of tunvexa-cli against tunvexa-sim through a real
// pseudo-terminal.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "process_support.h"

using namespace e2e;

namespace {

std::string cli(int com, const std::string& args) {
  return binary("tunvexa-cli") + " --com " + std::to_string(com) + " " + args + " 2>&1";
}

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(IgnitionEndToEnd, ReadWriteReadGivesTheSameFile) {
  TempConfig config;
  const std::string scenario = config.folder() + "/ignition.txt";
  // A write restarts the relative temperature maximum; a module whose
  // maximum has just been restarted reads back unchanged.
  std::ofstream(scenario) << "ignition\n"
                             "  mem 0x03 0\n"
                             "  mem 0x0C 80 22 255 22\n"
                             "  info-text Zeb|Roadster|Sport|Zeile 1\\nZeile 2\n";
  Simulator sim(23, {"--scenario", scenario});
  ASSERT_EQ(sim.readyLine(), "tunvexa-sim: COM23 ready\n");
  const std::string a = config.folder() + "/A.Ignar";
  const std::string b = config.folder() + "/B.Ignar";

  Result r = run(cli(23, "ignition read --out " + a));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Lesen Ok\n");
  const std::string first = fileBytes(a);
  ASSERT_FALSE(first.empty());
  EXPECT_NE(first.find("[InfoKommentar]\r\nZeile 1\r\nZeile 2\r\n"), std::string::npos);
  EXPECT_NE(first.find("[Kennlinie]\r\n00800 rpm   5\r\n03000 rpm  30\r\n04000 rpm  22\r\n"),
            std::string::npos)
      << first;

  r = run(cli(23, "ignition write --in " + a));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Schreiben Ok\n");

  r = run(cli(23, "ignition read --out " + b));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(fileBytes(b), first);

  // A curve that does not fit the shift is refused with its message only,
  // and the command fails although the operation shows no error of its own.
  std::string bad = first;
  bad.replace(bad.find("[Offset]\r\n0\r\n"), 13, "[Offset]\r\n10\r\n");
  bad.replace(bad.find("03000 rpm  30"), 13, "03000 rpm  35");
  std::ofstream(config.folder() + "/bad.Ignar", std::ios::binary) << bad;
  r = run(cli(23, "ignition write --in " + config.folder() + "/bad.Ignar"));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "Kennlinie, Unterdruck und Offset prüfen\n");

  r = run(cli(23, "ignition read --out " + b + " --dump"));
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(fileBytes(b).find("[Dump]\r\n0x00\t"), std::string::npos);
}

TEST(IgnitionEndToEnd, QuestionsAreAnsweredFromTheCommandLine) {
  TempConfig config;
  const std::string scenario = config.folder() + "/ignition.txt";
  std::ofstream(scenario) << "ignition\n  firmware 7.9\n  pin 1A2B\n";
  Simulator sim(24, {"--scenario", scenario});
  ASSERT_FALSE(sim.readyLine().empty());
  const std::string a = config.folder() + "/A.Ignar";
  const std::string oldFirmware =
      "Firmware: Version ist alt\nnicht alle Funktionen werden unterstützt\n";
  const std::string locked = "Schreiben ist gesperrt\nLesen nur teilweise\n";

  Result r = run(cli(24, "ignition read --out " + a));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, oldFirmware + locked + "Lesen Ok\n");

  r = run(cli(24, "ignition read --out " + a + " --pin 1A2B"));
  EXPECT_EQ(r.out, oldFirmware + "Lesen Ok\n");

  // Without --yes the old-firmware question is answered no: nothing is
  // written and nothing more is said.
  r = run(cli(24, "ignition write --in " + a + " --pin 1A2B"));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, oldFirmware + "trotzdem schreiben?\n");

  r = run(cli(24, "ignition write --in " + a + " --yes --pin 1A2B"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, oldFirmware + "trotzdem schreiben?\nSchreiben Ok\n");

  // The write's restart made the module forget that the PIN was given.
  r = run(cli(24, "ignition write --in " + a + " --yes"));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, oldFirmware + "trotzdem schreiben?\n" + locked);

  r = run(cli(24, "ignition write --in " + a + " --yes --pin 1a2c"));
  EXPECT_EQ(r.status, 2);
  // One wrong PIN of the five the module allows.
  EXPECT_EQ(r.out,
            oldFirmware + "trotzdem schreiben?\nPIN ist falsch\nnoch 4 Versuche!\n" + locked);

  r = run(cli(24, "ignition write --in " + config.folder() + "/missing.Ignar"));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "Kann Datei nicht öffnen\n");
  for (const char* bad : {"ignition", "ignition read", "ignition write --out x",
                          "ignition read --out x --pin 12345", "ignition show --dump"}) {
    EXPECT_EQ(run(cli(24, bad)).status, 2) << bad;
  }
}

}  // namespace

namespace {

TEST(IgnitionEndToEnd, PinVehicleInformationAndChannelsFromTheCommandLine) {
  TempConfig config;
  const std::string scenario = config.folder() + "/pin.txt";
  std::ofstream(scenario) << "ignition\n  firmware 8.3\n  pin 1A2B\n";
  Simulator sim(26, {"--scenario", scenario});
  ASSERT_FALSE(sim.readyLine().empty());

  Result r = run(cli(26, "ignition pin set 77 --pin 1A2C"));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "PIN ist falsch\nnoch 4 Versuche!\n");
  r = run(cli(26, "ignition pin set BEEF --pin 1A2B --lock on"));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, "");

  const std::string a = config.folder() + "/A.Ignar";
  const std::string b = config.folder() + "/B.Ignar";
  ASSERT_EQ(run(cli(26, "ignition read --out " + a + " --pin BEEF")).status, 0);
  r = run(cli(26, "ignition channels --in " + a));
  EXPECT_EQ(r.status, 0);
  // Four cylinders of the default record: the diagonal, positions 5-8 closed.
  EXPECT_NE(r.out.find("Kanal 1    x . . . - - - -\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Kanal 4    . . . x - - - -\n"), std::string::npos) << r.out;

  r = run(cli(26, "ignition info --in " + a +
                      " --set Hersteller=Zeb --set 'Kommentar=Zeile 1\\nZeile 2' --out " + b));
  EXPECT_EQ(r.status, 0) << r.out;
  r = run(cli(26, "ignition info --in " + b));
  EXPECT_EQ(r.out, "Hersteller: Zeb\nTyp: \nAusfuehrung: \nKommentar:\nZeile 1\nZeile 2\n");
}

}  // namespace
