// The module link against the in-process bus simulator.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "link/module_link.h"
#include "sim/bus.h"
#include "sim/sim_device.h"
#include "sim/virtual_clock.h"
#include "texts/text_ids.h"

using buslink::ModuleLink;

namespace {

struct SimLink {
  explicit SimLink(const sim::Scenario& scenario = sim::Scenario()) : bus(scenario) {
    link = std::make_unique<ModuleLink>(std::make_unique<sim::SimDevice>(bus, clock), clock);
    link->setPortNumber(3);
  }
  sim::Bus bus;
  sim::VirtualClock clock;
  std::unique_ptr<ModuleLink> link;
};

TEST(LinkWithSimulator, ReadsAndWritesModuleMemory) {
  SimLink s;
  ASSERT_EQ(s.link->selectModule(0xE0), 0);
  uint16_t version = 0;
  EXPECT_EQ(s.link->readFirmwareVersion(version), 0);
  EXPECT_EQ(version, 0x0803);
  uint32_t serial = 0;
  EXPECT_EQ(s.link->readSerialNumber(serial), 0);
  EXPECT_EQ(serial, 123456u);
  EXPECT_EQ(s.link->writeWord(0x40, 0x1234), 0);
  uint16_t word = 0;
  EXPECT_EQ(s.link->readWord(0x40, word), 0);
  EXPECT_EQ(word, 0x1234);
  EXPECT_EQ(s.bus.ignition()->memory[0x41], 0x34);
  EXPECT_EQ(s.link->writeSerialNumber(7654321), 0);
  EXPECT_EQ(s.link->readSerialNumber(serial), 0);
  EXPECT_EQ(serial, 7654321u);
}

TEST(LinkWithSimulator, ConfirmedWriteCostsItsLineTime) {
  SimLink s;
  ASSERT_EQ(s.link->selectModule(0xE0), 0);
  int64_t start = s.clock.now_us();
  ASSERT_EQ(s.link->writeByte(0x10, 7), 0);
  // 2 ms pause plus 12 bytes of 10 bit times at 9600 baud.
  EXPECT_NEAR(s.clock.now_us() - start, 2000 + 12 * 10 * 1000000 / 9600, 2);
}

TEST(LinkWithSimulator, EngineRunningRefusesWrites) {
  sim::Scenario sc;
  sc.ignition.period = 1500;
  SimLink s(sc);
  ASSERT_EQ(s.link->selectModule(0xE0), 0);
  uint16_t period = 0;
  EXPECT_EQ(s.link->readPeriod(period), 0);
  EXPECT_EQ(period, 1500);
  EXPECT_EQ(s.link->writeByte(0x10, 7), texts::kTextEngineRunning);
}

TEST(LinkWithSimulator, FaultsGiveTheirTexts) {
  struct Case {
    const char* name;
    sim::Faults faults;
    int32_t result;
  };
  std::vector<Case> cases(5);
  cases[0] = {"reply byte dropped", {}, texts::kTextTooFewBytes};
  cases[0].faults.dropReply.push_back({1, 2});
  cases[1] = {"reply byte corrupted", {}, texts::kTextChecksumWrong};
  cases[1].faults.corruptReply.push_back({1, 1});
  // Without the echo the module's reply is taken for it, and it differs.
  cases[2] = {"no echo", {}, texts::kTextSendError};
  cases[2].faults.noEcho = true;
  cases[3] = {"wrong echo", {}, texts::kTextSendError};
  cases[3].faults.wrongEcho.push_back(1);
  cases[4] = {"module falls silent", {}, texts::kTextTooFewBytes};
  cases[4].faults.silentAfter.push_back({0, 0});
  for (const Case& c : cases) {
    sim::Scenario sc;
    sc.faults = c.faults;
    SimLink s(sc);
    ASSERT_EQ(s.link->selectModule(0xE0), 0) << c.name;
    uint8_t value = 0;
    EXPECT_EQ(s.link->readByte(0x01, value), c.result) << c.name;
  }
}

TEST(LinkWithSimulator, ForeignStreamKeepsTheLineBusy) {
  sim::Scenario sc;
  sc.faults.foreignStream = true;
  SimLink s(sc);
  EXPECT_EQ(s.link->selectModule(0xE0), texts::kTextComBusy);
  uint8_t d1 = 0, d2 = 0;
  EXPECT_EQ(s.link->readStreamFrame(d1, d2), 4) << "the stream is made of ';' frames";
}

TEST(LinkWithSimulator, StrayBytesBeforeAStreamFrame) {
  sim::Scenario sc;
  sim::Injection stray;
  stray.atMs = 0;
  stray.bytes = {0x11, 0x22, ';', 0x01, 0x02, static_cast<uint8_t>(0x5A ^ ';' ^ 0x01 ^ 0x02)};
  sc.faults.injections.push_back(stray);
  SimLink s(sc);
  ASSERT_EQ(s.link->openPort(), 0);
  uint8_t d1 = 0, d2 = 0;
  EXPECT_EQ(s.link->readStreamFrame(d1, d2), 4);
  EXPECT_EQ(d1, 0x01);
  EXPECT_EQ(d2, 0x02);
}

TEST(LinkWithSimulator, WakePulseWakesASleepingModule) {
  sim::Scenario sc;
  sc.ignition.asleep = true;
  SimLink s(sc);
  ASSERT_EQ(s.link->selectModule(0xE0), 0);
  uint16_t version = 0;
  EXPECT_EQ(s.link->readFirmwareVersion(version), texts::kTextModuleNotFound);
  EXPECT_EQ(s.link->sendWakePulse(), 0);
  EXPECT_EQ(s.link->portNumber(), 3 + 128) << "reopened at the bus rate";
  EXPECT_EQ(s.link->readFirmwareVersion(version), 0);
  EXPECT_EQ(version, 0x0803);
}

TEST(LinkWithSimulator, SearchFindsEveryModuleBySerial) {
  sim::Scenario sc;
  const uint32_t serials[] = {1234567, 1234566, 7000001};
  const uint16_t types[] = {0x1005, 0x2A01, 0x3302};
  for (int i = 0; i < 3; ++i) {
    sim::ModuleSetup m(0x20);
    m.serial = serials[i];
    m.typeWord = types[i];
    sc.serialModules.push_back(m);
  }
  SimLink s(sc);
  buslink::FoundModuleTable table;
  int32_t count = s.link->searchModules(table);
  ASSERT_EQ(count, 3);
  std::map<uint32_t, uint16_t> found;
  for (int i = 0; i < count; ++i)
    found[table[i].serial] = table[i].typeHigh << 8 | table[i].typeLow;
  // The search yields the BCD serial numbers.
  EXPECT_EQ(found, (std::map<uint32_t, uint16_t>{
                       {0x1234567, 0x1005}, {0x1234566, 0x2A01}, {0x7000001, 0x3302}}));
  // Selected by its serial, the module answers at 0x20.
  ASSERT_EQ(s.link->selectBySerial(0x7000001), 0);
  ASSERT_EQ(s.link->selectModule(0x20), 0);
  uint16_t type = 0;
  EXPECT_EQ(s.link->readTypeId(type), 0);
  EXPECT_EQ(type, 0x3302);
}

TEST(LinkWithSimulator, SearchWithNoModuleFindsNone) {
  sim::Scenario sc;
  sc.hasIgnition = false;
  SimLink s(sc);
  buslink::FoundModuleTable table;
  EXPECT_EQ(s.link->searchModules(table), 0);
}

TEST(LinkWithSimulator, PcSearchHandshake) {
  sim::Scenario sc;
  sc.pcSearchIntervalMs = 200;
  SimLink s(sc);
  ASSERT_EQ(s.link->openPort(), 0);
  EXPECT_EQ(s.link->waitForPcSearch(), 0);
  EXPECT_TRUE(s.bus.pcSearchDone());
}

}  // namespace
