#include "sim/sim_device.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "sim/bus.h"
#include "sim/virtual_clock.h"

namespace sim {
namespace {

constexpr int64_t kByteNs9600 = 10'000'000'000LL / 9600;

// A port opened the way the link opens it: 9600 baud, k = 2 ms per byte, 50 ms constant.
class SimPort : public ::testing::Test {
 protected:
  explicit SimPort(Scenario s = Scenario()) : bus(s), dev(bus, clock) {}

  void open(int baud = 9600) {
    ASSERT_TRUE(dev.openDevice(3));
    ASSERT_TRUE(dev.setBufferSizes(4096, 4096));
    ASSERT_TRUE(dev.purge());
    const uint32_t k = std::max(1, 19200 / baud);
    ASSERT_TRUE(dev.applyTimeouts({0, k, 50, k, 10}));
    ASSERT_TRUE(dev.applyLineSettings(baud));
  }

  void write(const Frame& f) { ASSERT_EQ(dev.write(f.data(), 4), 4); }

  std::vector<uint8_t> read(int n) {
    std::vector<uint8_t> buf(n);
    buf.resize(dev.read(buf.data(), n));
    return buf;
  }

  VirtualClock clock;
  Bus bus;
  SimDevice dev;
};

TEST_F(SimPort, FrameCostsTwelveByteTimes) {
  open();
  const int64_t start = clock.nowNs();
  write(makeFrame(0xE1, 0, 0));
  EXPECT_EQ(clock.nowNs() - start, 4 * kByteNs9600);
  const Frame f = makeFrame(0xE1, 0, 0);
  EXPECT_EQ(read(4), std::vector<uint8_t>(f.begin(), f.end()));
  const Frame r = makeFrame(0xE1, 0x08, 0x03);
  EXPECT_EQ(read(4), std::vector<uint8_t>(r.begin(), r.end()));
  EXPECT_EQ(clock.nowNs() - start, 12 * kByteNs9600);
}

TEST_F(SimPort, ShortReadCostsTheWholeTimeOut) {
  open();
  write(makeFrame(0x91, 0, 0));  // nobody at 0x90: echo only
  const int64_t start = clock.nowNs();
  EXPECT_EQ(read(8).size(), 4u);
  // Measured from the start of the read: 2 ms * 8 + 50 ms.
  EXPECT_EQ(clock.nowNs() - start, 66'000'000);
  EXPECT_EQ(read(1).size(), 0u);
  EXPECT_EQ(clock.nowNs() - start, 66'000'000 + 52'000'000);
}

TEST_F(SimPort, SleepMsAndTicksUseTheSameVirtualTime) {
  const uint32_t t0 = clock.ticks();
  clock.sleepMs(50);
  clock.sleepMs(50);
  EXPECT_EQ(clock.ticks() - t0, 100u);
  EXPECT_EQ(clock.now_us(), 100'000);
}

TEST_F(SimPort, WakePulseNeedsThreeHundredBaud) {
  bus.ignition()->asleep = true;
  open();
  write(makeFrame(0xE1, 0, 0));
  EXPECT_EQ(read(8).size(), 4u) << "a sleeping ignition does not answer";

  ASSERT_TRUE(dev.setBaudRate(300));
  EXPECT_EQ(dev.baudRate(), 300);
  const int64_t start = clock.nowNs();
  const uint8_t zero = 0;
  ASSERT_EQ(dev.write(&zero, 1), 1);
  EXPECT_EQ(clock.nowNs() - start, 10'000'000'000LL / 300) << "one byte at 300 baud";
  EXPECT_EQ(read(1), std::vector<uint8_t>{0});
  EXPECT_FALSE(bus.ignition()->asleep);

  ASSERT_TRUE(dev.setBaudRate(9600));
  write(makeFrame(0xE1, 0, 0));
  EXPECT_EQ(read(8).size(), 8u);
}

TEST_F(SimPort, PortsCanBeMissingOrHeld) {
  dev.setAvailablePorts({1, 2});
  EXPECT_FALSE(dev.openDevice(3));
  EXPECT_TRUE(dev.openDevice(2));
  EXPECT_FALSE(dev.openDevice(2)) << "already open";
  SimDevice other(bus, clock);
  EXPECT_FALSE(other.openDevice(2)) << "held by the first device";
  EXPECT_TRUE(other.openDevice(4));
  dev.closeDevice();
  EXPECT_FALSE(dev.isOpen());
  EXPECT_TRUE(dev.openDevice(1));
  SimDevice third(bus, clock);
  EXPECT_TRUE(third.openDevice(2)) << "released by closeDevice";
  EXPECT_EQ(dev.write(reinterpret_cast<const uint8_t*>("x"), 0), 0);
  dev.closeDevice();
  EXPECT_EQ(dev.write(reinterpret_cast<const uint8_t*>("x"), 1), -1);
  EXPECT_EQ(read(1).size(), 0u);
}

TEST_F(SimPort, PurgeDropsWhatThePcHasNotRead) {
  open();
  write(makeFrame(0xE1, 0, 0));
  ASSERT_TRUE(dev.purge());
  EXPECT_EQ(read(8).size(), 0u);
}

TEST_F(SimPort, AbortEndsReadsUntilReopened) {
  open();
  std::atomic<bool> started{false};
  std::atomic<int> reads{0};
  // A worker polling single bytes, as a wait loop does.
  std::thread worker([&] {
    uint8_t b;
    started = true;
    while (dev.read(&b, 1) == 0 && dev.isOpen()) ++reads;
  });
  while (!started) std::this_thread::yield();
  const auto t0 = std::chrono::steady_clock::now();
  dev.abortRead();
  dev.closeDevice();
  worker.join();
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
  EXPECT_FALSE(dev.isOpen());
  open();
  write(makeFrame(0xE1, 0, 0));
  EXPECT_EQ(read(8).size(), 8u);
}

TEST_F(SimPort, AbortWithoutCloseMakesReadsReturnAtOnce) {
  open();
  write(makeFrame(0xE1, 0, 0));
  dev.abortRead();
  const int64_t start = clock.nowNs();
  EXPECT_EQ(read(8).size(), 0u);
  EXPECT_EQ(clock.nowNs(), start);
}

TEST_F(SimPort, TranscriptHoldsFramesWithEchoReplyAndTimes) {
  open();
  clock.sleepMs(10);
  write(makeFrame(0xE1, 0, 0));
  read(8);
  write(makeFrame(0xE2, 0x01, 0));
  read(8);
  const std::vector<TranscriptEntry>& t = bus.transcript();
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].number, 1);
  EXPECT_EQ(t[0].firstByteUs, (10'000'000 + kByteNs9600) / 1000);
  EXPECT_EQ(t[0].lastByteUs, (10'000'000 + 4 * kByteNs9600) / 1000);
  EXPECT_EQ(t[1].number, 2);
  EXPECT_EQ(hexBytes(t[1].echo), "E2 01 00 B9");
  EXPECT_EQ(hexBytes(t[1].reply), "E2 01 04 BD");
  EXPECT_NE(formatEntry(t[1]).find("frame 2  pc E2 01 00 B9  echo E2 01 00 B9  reply E2 01 04 BD"),
            std::string::npos)
      << formatEntry(t[1]);
}

class SimForeignStream : public SimPort {
 protected:
  static Scenario busy() {
    Scenario s;
    s.faults.foreignStream = true;
    return s;
  }
  SimForeignStream() : SimPort(busy()) {}
};

TEST_F(SimForeignStream, EveryReadReturnsItsFullCountOfStreamFrames) {
  open();
  const int64_t start = clock.nowNs();
  const std::vector<uint8_t> bytes = read(4097);
  ASSERT_EQ(bytes.size(), 4097u);
  EXPECT_EQ(clock.nowNs() - start, 4097 * kByteNs9600);
  for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
    const Frame f{bytes[i], bytes[i + 1], bytes[i + 2], bytes[i + 3]};
    ASSERT_EQ(f[0], kStreamStart) << i;
    ASSERT_TRUE(isValidFrame(f)) << i;
  }
}

class SimPcSearch : public SimPort {
 protected:
  static Scenario searching() {
    Scenario s;
    s.pcSearchIntervalMs = 200;
    return s;
  }
  SimPcSearch() : SimPort(searching()) {}
};

TEST_F(SimPcSearch, ModuleCallsEveryIntervalUntilThePcAnswers) {
  open();
  EXPECT_EQ(read(4).size(), 0u) << "nothing before the first call";
  clock.sleepMs(150);  // now at 208 ms: the call at 200 ms is waiting
  const Frame call = makeFrame(kPcSearch, 0x12, 0x34);
  EXPECT_EQ(read(4), std::vector<uint8_t>(call.begin(), call.end()));
  // The next call arrives within a read's time-out window, and the read ends with it.
  clock.sleepMs(150);
  const int64_t before = clock.nowNs();
  EXPECT_EQ(read(4), std::vector<uint8_t>(call.begin(), call.end()));
  EXPECT_EQ(clock.nowNs(), 400'000'000 + 4 * kByteNs9600);
  EXPECT_LT(clock.nowNs() - before, 58'000'000);

  write(makeFrame(kPcSearch, 0x56, 0x78));
  read(4);  // echo
  const Frame done = makeFrame(kPcSearch, 0x9A, 0xBC);
  EXPECT_EQ(read(4), std::vector<uint8_t>(done.begin(), done.end()));
  EXPECT_TRUE(bus.pcSearchDone());
  clock.sleepMs(1000);
  EXPECT_EQ(read(4).size(), 0u) << "found: no more calls";
}

}  // namespace
}  // namespace sim
