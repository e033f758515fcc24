// Selecting by serial number, the PC search and the module search: their
// failures and limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "link/module_link.h"
#include "scripted_device.h"
#include "sim/bus.h"
#include "sim/sim_device.h"
#include "sim/virtual_clock.h"
#include "texts/text_ids.h"

using buslink::ModuleLink;

namespace {

struct SimLink {
  explicit SimLink(const sim::Scenario& scenario) : bus(scenario) {
    link = std::make_unique<ModuleLink>(std::make_unique<sim::SimDevice>(bus, clock), clock);
    link->setPortNumber(3);
    link->setMessageHook([this](int32_t id) { shown.push_back(id); });
  }
  // The first byte of every frame the PC sent.
  std::vector<uint8_t> sentCommands() const {
    std::vector<uint8_t> out;
    for (const sim::TranscriptEntry& e : bus.transcript())
      if (e.kind == sim::TranscriptEntry::Kind::kFrame) out.push_back(e.pc[0]);
    return out;
  }
  sim::Bus bus;
  sim::VirtualClock clock;
  std::unique_ptr<ModuleLink> link;
  std::vector<int32_t> shown;
};

sim::ModuleSetup serialModule(uint32_t serial, uint16_t type) {
  sim::ModuleSetup m(0x20);
  m.serial = serial;
  m.typeWord = type;
  return m;
}

// Both halves of the selection go out whatever became of the first; only
// the answer to the second decides, and its failure is "module not found".
TEST(SelectBySerial, SendsBothHalvesAndJudgesTheSecond) {
  struct Case {
    const char* name;
    sim::Faults faults;
    int32_t result;
  };
  std::vector<Case> cases(4);
  cases[0] = {"clean", {}, 0};
  cases[1] = {"first half's echo wrong", {}, 0};
  cases[1].faults.wrongEcho.push_back(1);
  cases[2] = {"second half's echo wrong", {}, texts::kTextModuleNotFound};
  cases[2].faults.wrongEcho.push_back(2);
  cases[3] = {"second half unanswered", {}, texts::kTextModuleNotFound};
  cases[3].faults.dropReply.push_back({2, 0});
  for (const Case& c : cases) {
    sim::Scenario sc;
    sc.serialModules.push_back(serialModule(1234567, 0x1005));
    sc.faults = c.faults;
    SimLink s(sc);
    ASSERT_EQ(s.link->openPort(), 0);
    EXPECT_EQ(s.link->selectBySerial(0x1234567), c.result) << c.name;
    EXPECT_EQ(s.sentCommands(), (std::vector<uint8_t>{0x16, 0x17})) << c.name;
    EXPECT_TRUE(s.shown.empty()) << c.name;
  }
}

// Error codes of the address-less frames: a failed send is the adapter
// (8034), a missing answer the module (8035).
TEST(AddresslessFrames, SendAndAnswerErrors) {
  using testing_support::frame;
  struct Case {
    const char* name;
    std::function<int32_t(ModuleLink&)> op;
    bool echoFails;
    std::vector<uint8_t> answer;
    int32_t result;
  };
  auto searchBit = [](ModuleLink& l) { return l.searchBit(5, 1); };
  auto low = [](ModuleLink& l) { return l.selectSerialLow(0x45, 0x67); };
  auto high = [](ModuleLink& l) { return l.selectSerialHigh(0x01, 0x23); };
  auto mark = [](ModuleLink& l) { return l.markFound(3, 0x01); };
  auto reset = [](ModuleLink& l) { return l.resetSearch(); };
  const Case cases[] = {
      {"searchBit answered", searchBit, false, {0x55}, 0},
      {"searchBit unanswered", searchBit, false, {}, texts::kTextModuleNotFound},
      {"searchBit send error", searchBit, true, {0x55}, texts::kTextAdapterNotFound},
      {"selectSerialLow answered", low, false, frame(0x17, 0x45, 0x67), 0},
      {"selectSerialLow other serial", low, false, frame(0x17, 0x45, 0x68),
       texts::kTextModuleNotFound},
      {"selectSerialLow unanswered", low, false, {}, texts::kTextModuleNotFound},
      {"selectSerialLow send error", low, true, frame(0x17, 0x45, 0x67),
       texts::kTextAdapterNotFound},
      {"selectSerialHigh send error", high, true, {}, texts::kTextAdapterNotFound},
      {"markFound send error", mark, true, {}, texts::kTextAdapterNotFound},
      {"resetSearch send error", reset, true, {}, texts::kTextAdapterNotFound},
      {"selectSerialHigh echo only", high, false, {}, 0},
      {"markFound echo only", mark, false, {}, 0},
      {"resetSearch echo only", reset, false, {}, 0},
  };
  for (const Case& c : cases) {
    testing_support::StepClock clock;
    auto device = std::make_unique<testing_support::ScriptedDevice>(clock);
    testing_support::ScriptedDevice* dev = device.get();
    ModuleLink link(std::move(device), clock);
    link.setPortNumber(5);
    ASSERT_EQ(link.openPort(), 0);
    if (c.echoFails) dev->corruptEchoIndex = 1;
    dev->replies.push_back(c.answer);
    EXPECT_EQ(c.op(link), c.result) << c.name;
  }
}

// Valid frames that are not a module's PC search, arriving at `times` ms.
sim::Scenario foreignFramesAt(const std::vector<int64_t>& times) {
  sim::Scenario sc;
  sc.hasIgnition = false;
  for (size_t i = 0; i < times.size(); ++i) {
    sim::Injection in;
    in.atMs = times[i];
    const uint8_t n = static_cast<uint8_t>(i);
    in.bytes = {0x3B, n, 0x40, static_cast<uint8_t>(0x5A ^ 0x3B ^ n ^ 0x40)};
    sc.faults.injections.push_back(in);
  }
  return sc;
}

TEST(PcSearch, MoreThanThreeForeignFramesMeanTheLineIsBusy) {
  struct Case {
    std::vector<int64_t> times;
    int32_t result;
  };
  const Case cases[] = {
      {{}, 0},
      {{300, 900, 1500}, 0},
      {{300, 900, 1500, 2100}, texts::kTextComBusy},
      {{300, 900, 1500, 2100, 2700}, texts::kTextComBusy},
  };
  for (const Case& c : cases) {
    SimLink s(foreignFramesAt(c.times));
    ASSERT_EQ(s.link->openPort(), 0);
    const uint32_t start = s.clock.ticks();
    EXPECT_EQ(s.link->waitForPcSearch(), c.result) << c.times.size() << " frames";
    EXPECT_GE(s.clock.ticks() - start, 3000u) << "the whole window is waited";
  }
}

TEST(PcSearch, HandshakeEndsTheWaitDespiteForeignFrames) {
  sim::Scenario sc = foreignFramesAt({100, 200, 300, 400});
  sc.pcSearchIntervalMs = 1000;
  SimLink s(sc);
  ASSERT_EQ(s.link->openPort(), 0);
  EXPECT_EQ(s.link->waitForPcSearch(), 0);
  EXPECT_TRUE(s.bus.pcSearchDone());
  EXPECT_LT(s.clock.ticks(), 3000u);
}

TEST(ModuleSearch, BusyLineIsShownAndEndsTheSearch) {
  sim::Scenario sc = foreignFramesAt({300, 900, 1500, 2100});
  sc.serialModules.push_back(serialModule(1234567, 0x1005));
  SimLink s(sc);
  buslink::FoundModuleTable table;
  table[0].serial = 0x7654321;
  EXPECT_EQ(s.link->searchModules(table), 1);
  EXPECT_EQ(s.shown, std::vector<int32_t>{texts::kTextComBusy});
  EXPECT_TRUE(s.sentCommands().empty()) << "no search frame after the failed wait";
  EXPECT_EQ(table[0].serial, 0u) << "the table is cleared first";
}

TEST(ModuleSearch, FailedResetIsReturned) {
  testing_support::StepClock clock;
  auto device = std::make_unique<testing_support::ScriptedDevice>(clock);
  device->corruptEchoIndex = 1;
  ModuleLink link(std::move(device), clock);
  link.setPortNumber(5);
  buslink::FoundModuleTable table;
  EXPECT_EQ(link.searchModules(table), texts::kTextAdapterNotFound);
}

TEST(ModuleSearch, StopsAtTwentyModules) {
  sim::Scenario sc;
  sc.hasIgnition = false;
  std::set<uint32_t> present;
  for (uint32_t i = 1; i <= 21; ++i) {
    const uint32_t serial = 1000000 + 37 * i;
    sc.serialModules.push_back(serialModule(serial, static_cast<uint16_t>(0x1000 + i)));
    // The table holds the BCD form.
    uint32_t bcd = 0;
    for (uint32_t d = serial, shift = 0; d > 0; d /= 10, shift += 4) bcd |= (d % 10) << shift;
    present.insert(bcd);
  }
  SimLink s(sc);
  buslink::FoundModuleTable table;
  ASSERT_EQ(s.link->searchModules(table), 20);
  std::set<uint32_t> found;
  for (const buslink::FoundModule& m : table) {
    EXPECT_TRUE(present.count(m.serial)) << std::hex << m.serial;
    found.insert(m.serial);
  }
  EXPECT_EQ(found.size(), 20u);
  // Four found marks after each of the first 19 modules; the 20th ends the
  // search before its marks, and no further round starts.
  const std::vector<uint8_t> sent = s.sentCommands();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), 0x15), 19 * 4);
  EXPECT_EQ(sent.back(), 0x20) << "the last frame reads the 20th module's type";
}

}  // namespace
