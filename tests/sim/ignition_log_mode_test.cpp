// The ignition's log mode: the switch frame, the 38 400 baud packet stream
// with the time stamps of the engine's sparks, its faults and the line rate.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "sim/bus.h"
#include "sim/pty_server.h"
#include "sim/scenario_parser.h"
#include "sim/sim_device.h"
#include "sim/virtual_clock.h"
#include "tests/link/pty_fixture.h"
#include "tests/sim/raw_port.h"

namespace sim {
namespace {

// Written out from the packet format: 0xF2, a byte, four big-endian stamps,
// twelve more bytes; all 22 XOR to 0x3A.
constexpr size_t kPacket = 22;
const std::vector<uint8_t> kSwitchFrame = {0xEE, 0x30, 0x08, 0x8C};

using Packet = std::vector<uint8_t>;

uint8_t xorOf(const Packet& p) {
  uint8_t x = 0;
  for (uint8_t b : p) x ^= b;
  return x;
}

uint16_t stamp(const Packet& p, int i) {
  return static_cast<uint16_t>(p[2 + 2 * i] << 8 | p[3 + 2 * i]);
}

// Ticks between successive stamps over a run of packets (the counter wraps).
std::vector<int> intervals(const std::vector<Packet>& packets) {
  std::vector<int> d;
  bool first = true;
  uint16_t last = 0;
  for (const Packet& p : packets) {
    for (int i = 0; i < 4; ++i) {
      if (!first) d.push_back(static_cast<uint16_t>(stamp(p, i) - last));
      last = stamp(p, i);
      first = false;
    }
  }
  return d;
}

Scenario scenario(const std::string& text) {
  ScenarioResult r = parseScenario(text);
  EXPECT_TRUE(r.scenario) << r.error;
  return r.scenario ? *r.scenario : Scenario();
}

// A PC on the in-process bus, on virtual time.
class LogModePc {
 public:
  explicit LogModePc(const Scenario& s) : bus(s), device(bus, clock) {
    EXPECT_TRUE(device.openDevice(1));
    EXPECT_TRUE(device.applyLineSettings(9600));
    EXPECT_TRUE(device.applyTimeouts({0, 0, 1000, 0, 0}));
  }

  std::vector<uint8_t> read(size_t n) {
    std::vector<uint8_t> out(n);
    out.resize(static_cast<size_t>(device.read(out.data(), static_cast<int>(n))));
    return out;
  }

  // Sends the switch frame at 9600 and returns what came back at that rate.
  std::vector<uint8_t> switchToLogMode() {
    EXPECT_EQ(device.write(kSwitchFrame.data(), 4), 4);
    return read(8);
  }

  std::vector<Packet> packets(int n) {
    std::vector<Packet> out;
    for (int i = 0; i < n; ++i) {
      Packet p = read(kPacket);
      if (p.size() != kPacket) break;
      out.push_back(p);
    }
    return out;
  }

  Bus bus;
  VirtualClock clock;
  SimDevice device;
};

TEST(IgnitionLogMode, SwitchFrameIsEchoedAndAnsweredThenPacketsFollowAt38400) {
  LogModePc pc(scenario("ignition\nengine 6000\n"));
  std::vector<uint8_t> expected = kSwitchFrame;                               // the adapter's echo
  expected.insert(expected.end(), kSwitchFrame.begin(), kSwitchFrame.end());  // the reply
  EXPECT_EQ(pc.switchToLogMode(), expected);
  ASSERT_TRUE(pc.device.setBaudRate(38400));

  // 6000 rpm, 4 cylinders: a spark every 5 ms, a packet every 20 ms. Once
  // the reader waits for it, each packet reaches it its 22 byte times
  // (22 x 10 / 38400 s) after the fourth spark.
  std::vector<int64_t> doneNs;
  std::vector<Packet> packets;
  for (int i = 0; i < 5; ++i) {
    Packet p = pc.read(kPacket);
    ASSERT_EQ(p.size(), kPacket);
    packets.push_back(p);
    doneNs.push_back(pc.clock.nowNs());
  }
  for (size_t i = 0; i < packets.size(); ++i) {
    EXPECT_EQ(packets[i][0], 0xF2);
    EXPECT_EQ(xorOf(packets[i]), 0x3A) << "packet " << i;
    if (i > 0) {
      EXPECT_EQ(doneNs[i] - doneNs[i - 1], 20'000'000) << "packet " << i;
    }
  }
  // Log mode begins as the frame's last byte is in, 4 x 10 / 9600 s; the
  // second packet's fourth spark comes 40 ms later.
  const double frameUs = 4 * 10 * 1e6 / 9600;
  const double lineUs = 22 * 10 * 1e6 / 38400;
  EXPECT_NEAR(doneNs[1] / 1000.0, frameUs + 40000 + lineUs, 2.0);
  for (int d : intervals(packets)) EXPECT_EQ(d, 1250);
}

TEST(IgnitionLogMode, StampsFollowTheEngineSpeedAndCylinders) {
  // Ticks of 4 us between sparks: 30 000 000 / (rpm x cylinders) for four
  // strokes, twice that per cylinder for two; the period word is that count.
  struct Case {
    const char* scenario;
    int ticks;
  } cases[] = {
      {"ignition\nengine 6000\n", 1250},                 // 4 cylinders
      {"ignition\nengine 5000\nmem 0x01 6\n", 1000},     // 6 cylinders
      {"ignition\nengine 1000\nmem 0x01 1 2\n", 15000},  // one-cylinder two-stroke
      {"ignition\nperiod 1500\n", 1500},                 // no rpm given: the period word
      {"ignition\nengine 12000\nmem 0x01 8\n", 312},     // 312.5 ticks: stamps round down
  };
  for (const Case& c : cases) {
    LogModePc pc(scenario(c.scenario));
    pc.switchToLogMode();
    pc.device.setBaudRate(38400);
    const std::vector<Packet> packets = pc.packets(60);  // past a wrap of the counter
    ASSERT_EQ(packets.size(), 60u) << c.scenario;
    for (int d : intervals(packets)) {
      if (c.ticks == 312) {
        EXPECT_TRUE(d == 312 || d == 313) << c.scenario << d;
      } else {
        EXPECT_EQ(d, c.ticks) << c.scenario;
      }
    }
  }
}

TEST(IgnitionLogMode, RampGoesFromTheFirstToTheLastSpeed) {
  // 3000 to 6000 rpm over 1 s with 4 cylinders: 2500 ticks down to 1250.
  LogModePc pc(scenario("ignition\nengine-ramp 3000 6000 1000\n"));
  pc.switchToLogMode();
  pc.device.setBaudRate(38400);
  const std::vector<Packet> packets = pc.packets(100);  // about 1.4 s of sparks
  ASSERT_EQ(packets.size(), 100u);
  const std::vector<int> d = intervals(packets);
  // Time since log mode began at the spark before each interval: the first
  // stamp is one 3000 rpm spark in.
  double t = 2500 * 4e-6;
  bool reachedEnd = false;
  for (size_t i = 0; i < d.size(); ++i) {
    const double rpm = t >= 1.0 ? 6000 : 3000 + 3000 * t;
    const double ticks = 30000000.0 / (rpm * 4);
    EXPECT_NEAR(d[i], ticks, 1.0) << "interval " << i << " at " << t << " s";
    if (i > 0) {
      EXPECT_LE(d[i], d[i - 1] + 1) << "the engine only speeds up";
    }
    if (t >= 1.0) {
      EXPECT_EQ(d[i], 1250);
      reachedEnd = true;
    }
    t += d[i] * 4e-6;
  }
  EXPECT_TRUE(reachedEnd);
}

TEST(IgnitionLogMode, MisfireLeavesOutASparkAndCorruptPacketFailsOnlyItsCheck) {
  LogModePc pc(scenario("ignition\nengine 6000\nmisfire 6\ncorrupt-packet 3\n"));
  pc.switchToLogMode();
  pc.device.setBaudRate(38400);
  const std::vector<Packet> packets = pc.packets(4);
  ASSERT_EQ(packets.size(), 4u);
  // Packet 2 holds sparks 5, 7, 8, 9: one interval of two spark times.
  const std::vector<int> expected = {1250, 1250, 1250, 1250, 2500, 1250, 1250, 1250,
                                     1250, 1250, 1250, 1250, 1250, 1250, 1250};
  EXPECT_EQ(intervals(packets), expected);
  EXPECT_EQ(xorOf(packets[0]), 0x3A);
  EXPECT_EQ(xorOf(packets[1]), 0x3A);
  EXPECT_NE(xorOf(packets[2]), 0x3A);
  EXPECT_EQ(packets[2][0], 0xF2);
  EXPECT_EQ(xorOf(packets[3]), 0x3A);
}

TEST(IgnitionLogMode, APcStillAt9600SeesGarbage) {
  LogModePc pc(scenario("ignition\nengine 6000\n"));
  EXPECT_EQ(pc.switchToLogMode().size(), 8u);
  const std::vector<uint8_t> heard = pc.read(3 * kPacket);
  ASSERT_EQ(heard.size(), 3 * kPacket);
  for (uint8_t b : heard) EXPECT_EQ(b, Bus::kGarbledByte);
  // The viewer's order: switch, 10 ms, then 38400. The frame's echo and reply
  // were sent at 9600 and are lost to it; the packets are whole.
  LogModePc viewer(scenario("ignition\nengine 6000\n"));
  ASSERT_EQ(viewer.device.write(kSwitchFrame.data(), 4), 4);
  viewer.clock.sleepMs(10);
  viewer.device.setBaudRate(38400);
  const std::vector<uint8_t> first = viewer.read(8);
  EXPECT_EQ(first, std::vector<uint8_t>(8, Bus::kGarbledByte));
  const std::vector<Packet> packets = viewer.packets(2);
  ASSERT_EQ(packets.size(), 2u);
  EXPECT_EQ(xorOf(packets[0]), 0x3A);
  EXPECT_EQ(xorOf(packets[1]), 0x3A);
}

TEST(IgnitionLogMode, RestartAndPowerCycleEndIt_RepeatedSwitchDoesNot) {
  LogModePc pc(scenario("ignition\nengine 6000\n"));
  pc.switchToLogMode();
  pc.device.setBaudRate(38400);
  ASSERT_EQ(pc.packets(2).size(), 2u);
  // The viewer repeats the command; the stream goes on, numbers running.
  pc.device.setBaudRate(9600);
  EXPECT_EQ(pc.switchToLogMode().size(), 8u);
  pc.device.setBaudRate(38400);
  std::vector<Packet> more = pc.packets(1);
  ASSERT_EQ(more.size(), 1u);
  EXPECT_EQ(more[0][1], 3) << "packet number";

  // Restart {0xEF, 0, 0, 0x5A ^ 0xEF}: the reply, then silence.
  pc.device.setBaudRate(9600);
  pc.device.purge();
  const std::vector<uint8_t> restart = {0xEF, 0x00, 0x00, 0xB5};
  ASSERT_EQ(pc.device.write(restart.data(), 4), 4);
  EXPECT_EQ(pc.read(8).size(), 8u);
  EXPECT_TRUE(pc.read(kPacket).empty());
  EXPECT_FALSE(pc.bus.ignition()->logMode);

  pc.switchToLogMode();
  pc.device.setBaudRate(38400);
  ASSERT_EQ(pc.packets(1).size(), 1u);
  pc.bus.powerCycle(pc.clock.now_us());
  pc.device.purge();
  EXPECT_TRUE(pc.read(kPacket).empty());
}

TEST(IgnitionLogMode, EngineStandingStillSendsNothing) {
  LogModePc pc(scenario("ignition\n"));
  EXPECT_EQ(pc.switchToLogMode().size(), 8u);
  EXPECT_TRUE(pc.bus.ignition()->logMode);
  pc.device.setBaudRate(38400);
  EXPECT_TRUE(pc.read(kPacket).empty());
}

TEST(IgnitionLogMode, ScenarioKeysAreCheckedAndIgnitionOnly) {
  struct Case {
    const char* text;
    bool ok;
  } cases[] = {
      {"ignition\nengine 6000\nmisfire 3 9\ncorrupt-packet 2\n", true},
      {"ignition\nengine-ramp 1000 9000 5000\n", true},
      {"ignition\nengine 0\n", false},
      {"ignition\nengine 30001\n", false},
      {"ignition\nengine-ramp 1000 9000\n", false},
      {"ignition\nmisfire 0\n", false},
      {"ignition\nmisfire\n", false},
      {"module 0x40\nengine 3000\n", false},
      {"module 0x40\ncorrupt-packet 1\n", false},
  };
  for (const Case& c : cases) {
    const ScenarioResult r = parseScenario(c.text);
    EXPECT_EQ(r.scenario.has_value(), c.ok) << c.text << r.error;
  }
  Scenario s;
  s.ignition.logMode.toRpm = 3000;  // a ramp without its start
  s.ignition.logMode.rampMs = 100;
  EXPECT_FALSE(validateScenario(s).empty());
}

// --- on the pseudo-terminal, paced ------------------------------------------

class LogModeOnPty : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tunvexa-log-test-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
  }
  void TearDown() override {
    if (server_) {
      testing_support::Watchdog watchdog(std::chrono::seconds(10), "stopping the simulator");
      server_->stop();
      thread_.join();
    }
    std::filesystem::remove_all(dir_);
  }

  std::string dir_;
  std::unique_ptr<Bus> bus_;
  std::unique_ptr<PtyServer> server_;
  std::thread thread_;
};

TEST_F(LogModeOnPty, PacedStreamCarriesEveryPacketAt38400) {
  // A spark every 360 ticks (1.44 ms): four of them take 5.76 ms, just more
  // than a packet's 5.729 ms on the line, so the line is nearly full.
  bus_ = std::make_unique<Bus>(scenario("ignition\nperiod 360\n"));
  server_ = std::make_unique<PtyServer>(*bus_, 12, true);
  std::string error;
  ASSERT_TRUE(server_->start(error)) << error;
  thread_ = std::thread([this] { server_->run(); });

  const int fd = open((dir_ + "/ZEB/ports/com12").c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  sim_test::setRawRate(fd, B9600);
  ASSERT_EQ(write(fd, kSwitchFrame.data(), 4), 4);
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  sim_test::setRawRate(fd, B38400);

  using Clock = std::chrono::steady_clock;
  struct Arrival {
    uint8_t byte;
    Clock::time_point at;
  };
  std::vector<Arrival> got;
  const auto end = Clock::now() + std::chrono::seconds(2) + std::chrono::milliseconds(100);
  while (Clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 5) <= 0) continue;
    uint8_t buf[256];
    const ssize_t n = read(fd, buf, sizeof buf);
    const auto at = Clock::now();
    for (ssize_t i = 0; i < n; ++i) got.push_back({buf[i], at});
  }
  close(fd);

  // Skip what came before the first packet (the frame's echo and reply).
  size_t start = 0;
  while (start < got.size() && got[start].byte != 0xF2) ++start;
  std::vector<Packet> packets;
  std::vector<double> spansUs;
  for (size_t at = start; at + kPacket <= got.size(); at += kPacket) {
    Packet p;
    for (size_t i = 0; i < kPacket; ++i) p.push_back(got[at + i].byte);
    ASSERT_EQ(p[0], 0xF2) << "packet " << packets.size() << " out of step";
    EXPECT_EQ(xorOf(p), 0x3A);
    packets.push_back(p);
    spansUs.push_back(
        std::chrono::duration<double, std::micro>(got[at + kPacket - 1].at - got[at].at).count());
  }
  // 2 s of 5.76 ms packets: 347; allow the start and the end of the window.
  EXPECT_GE(packets.size(), 330u);
  for (int d : intervals(packets)) ASSERT_EQ(d, 360) << "a packet was lost";

  // Bytes per second over the run: 22 bytes per 5.76 ms = 3819, 99.5 % of
  // 38400 / 10.
  const double seconds = std::chrono::duration<double>(got.back().at - got[start].at).count();
  const double rate = (got.size() - start) / seconds;
  EXPECT_NEAR(rate, 38400.0 / 10, 38400.0 / 10 * 0.03);
  // Paced, a packet's bytes come one by one over 21 byte times (5.47 ms);
  // a busy machine may bunch some, so the typical packet shows it.
  std::sort(spansUs.begin(), spansUs.end());
  EXPECT_GE(spansUs[spansUs.size() / 2], 0.9 * 21 * 10 * 1e6 / 38400);
}

}  // namespace
}  // namespace sim
