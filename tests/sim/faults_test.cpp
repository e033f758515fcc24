#include "sim/faults.h"

#include <gtest/gtest.h>

#include <functional>

#include "sim/bus.h"
#include "sim/sim_device.h"
#include "sim/virtual_clock.h"

namespace sim {
namespace {

std::vector<uint8_t> bytesOf(const Frame& f) {
  return {f.begin(), f.end()};
}

// Sends frames 1 and 2 (readFirmwareVersion and readByte(0x01) of the
// ignition) and returns what the PC receives for each.
std::vector<std::vector<uint8_t>> twoFrames(const Faults& faults) {
  Scenario s;
  s.faults = faults;
  Bus bus(s);
  VirtualClock clock;
  SimDevice dev(bus, clock);
  EXPECT_TRUE(dev.openDevice(1));
  dev.applyTimeouts({0, 2, 50, 2, 10});
  dev.applyLineSettings(9600);
  std::vector<std::vector<uint8_t>> seen;
  for (const Frame& f : {makeFrame(0xE1, 0, 0), makeFrame(0xE2, 0x01, 0)}) {
    dev.write(f.data(), 4);
    std::vector<uint8_t> buf(16);
    buf.resize(dev.read(buf.data(), 16));
    seen.push_back(buf);
  }
  return seen;
}

const std::vector<uint8_t> kFrame1 = bytesOf(makeFrame(0xE1, 0, 0));
const std::vector<uint8_t> kReply1 = bytesOf(makeFrame(0xE1, 0x08, 0x03));
const std::vector<uint8_t> kFrame2 = bytesOf(makeFrame(0xE2, 0x01, 0));
const std::vector<uint8_t> kReply2 = bytesOf(makeFrame(0xE2, 0x01, 0x04));

std::vector<uint8_t> cat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<uint8_t> with(std::vector<uint8_t> v, size_t i, uint8_t value) {
  v[i] = value;
  return v;
}

std::vector<uint8_t> without(std::vector<uint8_t> v, size_t i) {
  v.erase(v.begin() + i);
  return v;
}

TEST(SimFaults, EachFaultHitsOnlyItsFrameAndByte) {
  struct Case {
    const char* name;
    std::function<void(Faults&)> set;
    std::vector<uint8_t> second;  // what the PC receives for frame 2
  };
  const Case cases[] = {
      {"none", [](Faults&) {}, cat(kFrame2, kReply2)},
      {"drop reply byte",
       [](Faults& f) {
         f.dropReply.push_back({2, 1});
       },
       cat(kFrame2, without(kReply2, 1))},
      {"corrupt reply byte",
       [](Faults& f) {
         f.corruptReply.push_back({2, 3});
       },
       cat(kFrame2, with(kReply2, 3, kReply2[3] ^ 0x01))},
      {"drop echo byte",
       [](Faults& f) {
         f.dropEcho.push_back({2, 0});
       },
       cat(without(kFrame2, 0), kReply2)},
      {"corrupt echo byte",
       [](Faults& f) {
         f.corruptEcho.push_back({2, 2});
       },
       cat(with(kFrame2, 2, kFrame2[2] ^ 0x01), kReply2)},
      {"module silent after frame 1",
       [](Faults& f) {
         f.silentAfter.push_back({1, 0xE0});
       },
       kFrame2},
      {"other module silent",
       [](Faults& f) {
         f.silentAfter.push_back({1, 0x40});
       },
       cat(kFrame2, kReply2)},
      {"bytes after frame 1",
       [](Faults& f) {
         f.injections.push_back({1, 0, {0x11, 0x22}});
       },
       cat(kFrame2, kReply2)},
  };
  for (const Case& c : cases) {
    Faults f;
    c.set(f);
    const auto seen = twoFrames(f);
    const bool injected = !f.injections.empty();
    EXPECT_EQ(seen[0], injected ? cat(cat(kFrame1, kReply1), {0x11, 0x22}) : cat(kFrame1, kReply1))
        << c.name;
    EXPECT_EQ(seen[1], c.second) << c.name;
  }
}

TEST(SimFaults, CorruptedFramesFailTheirCheck) {
  Faults f;
  f.corruptReply.push_back({1, 0});
  f.corruptEcho.push_back({1, 1});
  const auto seen = twoFrames(f);
  ASSERT_EQ(seen[0].size(), 8u);
  EXPECT_FALSE(isValidFrame({seen[0][0], seen[0][1], seen[0][2], seen[0][3]}));
  EXPECT_FALSE(isValidFrame({seen[0][4], seen[0][5], seen[0][6], seen[0][7]}));
}

TEST(SimFaults, NoEchoAndWrongEchoHitEveryFrame) {
  Faults none;
  none.noEcho = true;
  auto seen = twoFrames(none);
  EXPECT_EQ(seen[0], kReply1);
  EXPECT_EQ(seen[1], kReply2);

  Faults wrong;
  wrong.wrongEcho.push_back(0);
  seen = twoFrames(wrong);
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(seen[i].size(), 8u);
    const Frame echo{seen[i][0], seen[i][1], seen[i][2], seen[i][3]};
    EXPECT_TRUE(isValidFrame(echo)) << "a wrong echo is still a valid frame";
    EXPECT_NE(std::vector<uint8_t>(seen[i].begin(), seen[i].begin() + 4), i ? kFrame2 : kFrame1);
  }
  EXPECT_EQ(std::vector<uint8_t>(seen[1].begin() + 4, seen[1].end()), kReply2);
}

TEST(SimFaults, WrongEchoForOneFrame) {
  Faults f;
  f.wrongEcho.push_back(2);
  const auto seen = twoFrames(f);
  EXPECT_EQ(seen[0], cat(kFrame1, kReply1));
  EXPECT_NE(std::vector<uint8_t>(seen[1].begin(), seen[1].begin() + 4), kFrame2);
}

TEST(SimFaults, TimedInjectionArrivesWhenTheClockGetsThere) {
  Scenario s;
  // Two stray bytes, then a stream frame.
  const Frame stream = makeFrame(kStreamStart, 0x01, 0x02);
  s.faults.injections.push_back({0, 100, {0x11, 0x22, stream[0], stream[1], stream[2], stream[3]}});
  Bus bus(s);
  VirtualClock clock;
  SimDevice dev(bus, clock);
  ASSERT_TRUE(dev.openDevice(1));
  dev.applyTimeouts({0, 2, 50, 2, 10});
  dev.applyLineSettings(9600);
  uint8_t buf[6];
  EXPECT_EQ(dev.read(buf, 4), 0) << "0-58 ms: nothing yet";
  EXPECT_EQ(dev.read(buf, 4), 4) << "58-116 ms: the bytes arrive at 100 ms";
  EXPECT_EQ(buf[0], 0x11);
  EXPECT_EQ(buf[2], kStreamStart);
  EXPECT_EQ(dev.read(buf, 2), 2);
  EXPECT_EQ(buf[0], stream[2]);
  EXPECT_EQ(buf[1], stream[3]);
}

TEST(SimFaults, ApplyByteFaultsKeepsOriginalIndices) {
  std::vector<uint8_t> b = {1, 2, 3, 4};
  applyByteFaults(b, 5, {{5, 0}, {5, 2}, {4, 1}}, {{5, 3}});
  EXPECT_EQ(b, (std::vector<uint8_t>{2, 5}));
}

}  // namespace
}  // namespace sim
