#include "sim/scenario_parser.h"

#include <gtest/gtest.h>

#include "bus_helpers.h"
#include "sim/bus.h"

namespace sim {
namespace {

TEST(SimScenarioParser, ReadsEveryStatement) {
  const ScenarioResult r = loadScenarioFile(TUNVEXA_TEST_DATA "/full.scenario");
  ASSERT_TRUE(r.scenario) << r.error;
  const Scenario& s = *r.scenario;
  EXPECT_EQ(s.moduleBaud, 9600);
  EXPECT_EQ(s.pcSearchIntervalMs, 250);
  ASSERT_TRUE(s.hasIgnition);
  const ModuleSetup& ign = s.ignition;
  EXPECT_EQ(ign.firmwareVersion, 0x3703);
  EXPECT_EQ(ign.requiredSoftwareVersion, 0x0605);
  EXPECT_EQ(ign.typeWord, 0x1300);
  EXPECT_EQ(ign.period, 1200);
  EXPECT_EQ(ign.serial, 7654321u);
  EXPECT_EQ(ign.pin, 0x1A2B);
  EXPECT_TRUE(ign.pinGiven);
  EXPECT_TRUE(ign.asleep);
  EXPECT_EQ(ign.memory, (std::map<uint8_t, uint8_t>{{0x05, 200}, {0x06, 0}}));
  EXPECT_EQ(ign.liveValues.at(0), 300);
  EXPECT_EQ(ign.statusBytes.at(1), 7);
  EXPECT_EQ(ign.readOnly, (std::vector<uint8_t>{0x10, 0x11}));
  EXPECT_EQ(ign.info, infoFromTexts({"Zeb", "Roadster", "Sport", "Zeile 1\nZeile 2"}));

  ASSERT_EQ(s.modules.size(), 1u);
  EXPECT_EQ(s.modules[0].address, 0x40);
  EXPECT_EQ(s.modules[0].firmwareVersion, 0x0201);
  EXPECT_FALSE(s.modules[0].answers);
  ASSERT_EQ(s.serialModules.size(), 1u);
  EXPECT_EQ(s.serialModules[0].serial, 21234567u);

  const Faults& f = s.faults;
  ASSERT_EQ(f.dropReply.size(), 1u);
  EXPECT_EQ(f.dropReply[0].frame, 3);
  EXPECT_EQ(f.dropReply[0].byteIndex, 1);
  EXPECT_EQ(f.corruptReply.at(0).frame, 4);
  EXPECT_EQ(f.dropEcho.at(0).frame, 5);
  EXPECT_EQ(f.corruptEcho.at(0).byteIndex, 3);
  EXPECT_TRUE(f.noEcho);
  EXPECT_EQ(f.wrongEcho, (std::vector<int>{0, 7}));
  EXPECT_TRUE(f.foreignStream);
  ASSERT_EQ(f.silentAfter.size(), 1u);
  EXPECT_EQ(f.silentAfter[0].afterFrame, 9);
  EXPECT_EQ(f.silentAfter[0].address, 0xE0);
  ASSERT_EQ(f.injections.size(), 2u);
  EXPECT_EQ(f.injections[0].afterFrame, 2);
  EXPECT_EQ(f.injections[0].bytes, (std::vector<uint8_t>{0x11, 0x22}));
  EXPECT_EQ(f.injections[1].atMs, 100);
  EXPECT_EQ(f.injections[1].bytes.size(), 4u);

  // The bus takes the scenario as it is.
  Bus bus(s);
  EXPECT_EQ(bus.ignition()->serialBcd(), 0x07654321u);
  EXPECT_EQ(bus.ignition()->info[3], 0);
  EXPECT_EQ(bus.ignition()->pinStatus(), kPinSet | kPinGiven);
  EXPECT_EQ(bus.serialModules().module(0).serialBcd(), 0x21234567u);
}

TEST(SimScenarioParser, EmptyTextIsTheDefaultBus) {
  const ScenarioResult r = parseScenario("# nothing but a comment\n\n");
  ASSERT_TRUE(r.scenario) << r.error;
  Bus bus(*r.scenario);
  ASSERT_NE(bus.ignition(), nullptr);
  EXPECT_EQ(test::reply(bus, 0xE1, 0, 1), test::frameBytes(0xE1, 0x06, 0x00));
}

TEST(SimScenarioParser, ModulesAndNoIgnition) {
  const ScenarioResult r = parseScenario(
      "no-ignition\nmodule 0x90\n type 0x0900\nmodule 0xF0\n mem 0xFC 0x00 0x00 0x00 0x42\n");
  ASSERT_TRUE(r.scenario) << r.error;
  Bus bus(*r.scenario);
  EXPECT_EQ(bus.ignition(), nullptr);
  EXPECT_EQ(test::reply(bus, 0xE1, 0, 0), std::vector<uint8_t>{});
  EXPECT_EQ(test::reply(bus, 0x90, 0, 0), test::frameBytes(0x90, 0x09, 0x00));
  EXPECT_EQ(test::reply(bus, 0xF2, 0xFF, 0), test::frameBytes(0xF2, 0xFF, 0x42));
}

TEST(SimScenarioParser, BadLinesNameTheirLine) {
  struct Case {
    const char* text;
    const char* error;  // expected at the start of the message
  };
  const Case cases[] = {
      {"baud 9600\nmodul 0x40\n", "line 2: unknown keyword 'modul'"},
      {"module 0x45\n", "line 1: '0x45' is not a display or logger address"},
      {"module 0xE0\n", "line 1: '0xE0' is not a display or logger address (use 'ignition')"},
      {"module 0x40\nmodule 0x40\n", "line 2: module 0x40 is listed twice"},
      {"type 0x1200\n", "line 1: 'type' outside a module block"},
      {"ignition\nmem 0xFF 1 2\n", "line 2: bytes run past address 255"},
      {"ignition\nmem 0x10 256\n", "line 2: value 256 is outside 0-255"},
      {"ignition\nmem 0x10 abc\n", "line 2: 'abc' is not a number"},
      {"ignition\nfirmware 8.x\n", "line 2: 'x' is not a number"},
      {"ignition\nfirmware 16.0\n", "line 2: value 16 is outside 0-15"},
      {"ignition\nfirmware 8.3.1.2\n", "line 2: '8.3.1.2' is not a version"},
      {"ignition\nstatus 6 1\n", "line 2: value 6 is outside 0-5"},
      {"ignition\nserial 123456789\n", "line 2: value 123456789 is outside 0-99999999"},
      {"module 0x40\npin 1234\n", "line 2: 'pin' is for the ignition only"},
      {"ignition\ninfo-text a|b|c\n", "line 2: usage: info-text A|B|C|D"},
      {"ignition\ninfo 254 1 2\n", "line 2: bytes run past address 254"},
      {"\n\nserial-module\n type 1\nmodule 0x40\n",
       "line 3: serial-module without a serial number"},
      {"serial-module\nserial 5\nserial-module\nserial 5\n",
       "line 3: serial number 5 is used twice"},
      {"serial-module\n", "line 1: serial-module without a serial number"},
      {"fault drop-reply 0 1\n", "line 1: value 0 is outside 1-1000000000"},
      {"fault drop-reply 1 4\n", "line 1: value 4 is outside 0-3"},
      {"fault drop-reply 1\n", "line 1: usage: fault drop-reply FRAME BYTE"},
      {"fault melt\n", "line 1: unknown fault 'melt'"},
      {"fault silent-after 3 0x45\n", "line 1: '0x45' is not a module address"},
      {"inject later 1 2\n", "line 1: unknown injection 'later'"},
      {"inject at-ms 5\n", "line 1: usage: inject"},
      {"baud 0\n", "line 1: value 0 is outside 1-4000000"},
      {"baud\n", "line 1: usage: baud N"},
  };
  for (const Case& c : cases) {
    const ScenarioResult r = parseScenario(c.text);
    EXPECT_FALSE(r.scenario) << c.text;
    EXPECT_EQ(r.error.rfind(c.error, 0), 0u) << c.text << " gave: " << r.error;
  }
}

TEST(SimScenarioParser, BinaryGarbageIsRefusedNotCrashedOn) {
  std::string junk;
  for (int i = 0; i < 2000; ++i) junk += static_cast<char>((i * 131 + 7) % 256);
  const ScenarioResult r = parseScenario(junk);
  EXPECT_FALSE(r.scenario);
  EXPECT_EQ(r.error.rfind("line ", 0), 0u) << r.error;
}

TEST(SimScenarioParser, MissingFileIsAClearError) {
  const ScenarioResult r = loadScenarioFile(TUNVEXA_TEST_DATA "/no-such.scenario");
  EXPECT_FALSE(r.scenario);
  EXPECT_NE(r.error.find("cannot open scenario file"), std::string::npos) << r.error;
}

TEST(SimScenarioParser, FileErrorsNameTheFile) {
  const ScenarioResult r = loadScenarioFile(TUNVEXA_TEST_DATA "/bad.scenario");
  EXPECT_FALSE(r.scenario);
  EXPECT_NE(r.error.find("bad.scenario: line 4: unknown keyword 'firmwre'"), std::string::npos)
      << r.error;
}

TEST(SimScenario, InvalidStructIsRefusedByTheBus) {
  Scenario s;
  s.modules.push_back(ModuleSetup(0x40));
  s.modules.push_back(ModuleSetup(0x40));
  EXPECT_THROW(Bus{s}, std::invalid_argument);
  s.modules.pop_back();
  s.modules[0].statusBytes[6] = 1;
  EXPECT_THROW(Bus{s}, std::invalid_argument);
}

}  // namespace
}  // namespace sim
