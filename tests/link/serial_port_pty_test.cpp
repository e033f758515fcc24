// The serial port on a real pseudo-terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

#include "link/serial_port.h"
#include "platform/clock.h"
#include "pty_fixture.h"

using buslink::SerialPort;
using std::chrono::milliseconds;
using testing_support::PtyComPort;
using testing_support::Watchdog;

namespace {

// Bounds for a loaded machine: far above what the port promises, yet a step
// that never ends still fails within seconds.
constexpr milliseconds kStepBound{10'000};

int64_t elapsedMs(int64_t startUs) {
  return (platform::monotonicMicros() - startUs) / 1000;
}

TEST(SerialPortPty, OpenCodes) {
  PtyComPort pty(4);
  SerialPort port;
  EXPECT_EQ(port.open(0, 9600), -10);
  EXPECT_EQ(port.open(100, 9600), -10);
  EXPECT_EQ(port.isOpen(), 0);
  EXPECT_EQ(port.open(5, 9600), -1) << "COM5 has no device";
  ASSERT_EQ(port.open(4, 9600), 0);
  EXPECT_EQ(port.isOpen(), 1);
  EXPECT_EQ(port.open(4, 300), -11);
  EXPECT_EQ(port.timeouts().readMultiplier, 2u) << "a refused open keeps the old baud rate";

  SerialPort other;
  EXPECT_EQ(other.open(4, 9600), -1) << "a port held by another opener is busy";
  EXPECT_EQ(port.close(), 0);
  EXPECT_EQ(port.close(), 0);
  EXPECT_EQ(other.open(4, 9600), 0) << "free again once closed";
}

TEST(SerialPortPty, TimeoutsFollowTheBaudRate) {
  PtyComPort pty(4);
  struct Case {
    int baud;
    uint32_t k;
  };
  for (Case c : {Case{300, 64}, Case{4800, 4}, Case{9600, 2}, Case{19200, 1}, Case{38400, 1}}) {
    SerialPort port;
    ASSERT_EQ(port.open(4, c.baud), 0) << c.baud;
    EXPECT_EQ(port.timeouts().readMultiplier, c.k);
    EXPECT_EQ(port.timeouts().writeMultiplier, c.k);
    EXPECT_EQ(port.timeouts().readConstant, 50u);
    EXPECT_EQ(port.timeouts().writeConstant, 10u);
  }
}

TEST(SerialPortPty, ReadReturnsWhatArrivedWithinTheTimeout) {
  PtyComPort pty(4);
  SerialPort port;
  ASSERT_EQ(port.open(4, 9600), 0);
  const uint8_t three[] = {1, 2, 3};
  ASSERT_EQ(::write(pty.master(), three, 3), 3);
  uint8_t buf[4] = {};
  int64_t ms = 0;
  {
    Watchdog watchdog(kStepBound, "a read of 4 bytes with 3 on the line");
    int64_t start = platform::monotonicMicros();
    EXPECT_EQ(port.read(buf, 4), 3);
    ms = elapsedMs(start);
  }
  EXPECT_EQ(buf[2], 3);
  // k * n + 50 = 58 ms at 9600 baud. The upper bound leaves room for a busy
  // machine but stays below the 1000 ms of a waitForByte slice, so a read
  // that took the wrong time-out still fails.
  EXPECT_GE(ms, 55);
  EXPECT_LT(ms, 500);

  // Bytes travel both ways unchanged (raw line, no translation).
  const uint8_t out[] = {0x0D, 0x0A, 0x11, 0x13, 0x00, 0xFF};
  EXPECT_EQ(port.write(out, 6), 6);
  uint8_t in[6] = {};
  ASSERT_EQ(::read(pty.master(), in, 6), 6);
  EXPECT_EQ(std::memcmp(in, out, 6), 0);
  EXPECT_EQ(port.setRts(1), 0);
  EXPECT_EQ(port.setDtr(0), 0);
  EXPECT_EQ(port.setRts(2), 1);
  EXPECT_EQ(port.setDtr(2), 1);
  EXPECT_EQ(port.setBaudRate(19200), 0);
  port.close();
  EXPECT_EQ(port.read(buf, 4), 0);
  EXPECT_EQ(port.setBaudRate(9600), 1);
}

TEST(SerialPortPty, CloseEndsAWaitFromAnotherThread) {
  PtyComPort pty(4);
  SerialPort port;
  ASSERT_EQ(port.open(4, 9600), 0);
  std::atomic<int> result{-100};
  std::atomic<int64_t> endedAt{0};
  Watchdog watchdog(kStepBound, "a wait ended by close");
  std::thread waiter([&] {
    uint8_t b = 0;
    result = port.waitForByte(&b);
    endedAt = platform::monotonicMicros();
  });
  while (port.state() != SerialPort::kStateWaiting) std::this_thread::sleep_for(milliseconds(1));
  const uint8_t one = 7;
  EXPECT_EQ(port.write(&one, 1), -2) << "no write while a wait runs";
  std::this_thread::sleep_for(milliseconds(1300));  // beyond one slice
  EXPECT_EQ(result.load(), -100) << "the wait goes on across slices";
  int64_t closedAt = platform::monotonicMicros();
  port.close();
  waiter.join();
  EXPECT_EQ(result.load(), 0);
  // "Within about one read slice" of 1000 ms, with room for a busy machine.
  EXPECT_LT((endedAt - closedAt) / 1000, 2000) << "ended within one slice";
  EXPECT_EQ(port.state(), SerialPort::kStateClosed);
  EXPECT_EQ(port.write(&one, 1), -2) << "no write after close";
  uint8_t b = 0;
  EXPECT_EQ(port.waitForByte(&b), 1);
}

TEST(SerialPortPty, WaitForByteReturnsTheByte) {
  PtyComPort pty(4);
  SerialPort port;
  ASSERT_EQ(port.open(4, 9600), 0);
  Watchdog watchdog(kStepBound, "a wait for a byte that was sent");
  std::thread sender([&] {
    std::this_thread::sleep_for(milliseconds(200));
    const uint8_t b = 0x42;
    EXPECT_EQ(::write(pty.master(), &b, 1), 1);
  });
  uint8_t b = 0;
  EXPECT_EQ(port.waitForByte(&b), 0);
  sender.join();
  EXPECT_EQ(b, 0x42);
  EXPECT_EQ(port.state(), SerialPort::kStateIdle);
  EXPECT_EQ(port.timeouts().readConstant, 50u) << "the wait restores the time-outs";
}

TEST(SerialPortPty, ClosedPortLetsTheNextOpenerIn) {
  PtyComPort pty(4);
  {
    SerialPort port;
    ASSERT_EQ(port.open(4, 9600), 0);
  }
  // The exclusive bit must not outlive the port on a terminal that stays.
  std::string slave = pty.folder() + "/ZEB/ports/com4";
  int fd = ::open(slave.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  int exclusive = 1;
  ASSERT_EQ(ioctl(fd, TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 0);
  // A port some other program holds exclusively is busy.
  ASSERT_EQ(ioctl(fd, TIOCEXCL), 0);
  SerialPort port;
  EXPECT_EQ(port.open(4, 9600), -1);
  ::close(fd);
}

TEST(SerialPortPty, HungUpLineWaitsOutTheTimeout) {
  auto pty = std::make_unique<PtyComPort>(4);
  SerialPort port;
  ASSERT_EQ(port.open(4, 9600), 0);
  ::close(pty->releaseMaster());
  uint8_t buf[4];
  Watchdog watchdog(kStepBound, "a read on a hung-up line");
  int64_t start = platform::monotonicMicros();
  EXPECT_EQ(port.read(buf, 4), 0);
  EXPECT_GE(elapsedMs(start), 50) << "a hang-up must not turn read loops into busy loops";
}

TEST(SerialPortPty, CloseRacingTheStartOfAWait) {
  PtyComPort pty(4);
  Watchdog watchdog(kStepBound * 3, "50 waits ended by close");
  for (int i = 0; i < 50; ++i) {
    SerialPort port;
    ASSERT_EQ(port.open(4, 9600), 0);
    std::thread waiter([&] {
      uint8_t b = 0;
      port.waitForByte(&b);
    });
    port.close();
    waiter.join();  // the watchdog ends a wait that missed the close
    EXPECT_EQ(port.state(), SerialPort::kStateClosed);
  }
}

}  // namespace
