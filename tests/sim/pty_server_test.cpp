#include "sim/pty_server.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "sim/bus.h"
#include "tests/link/pty_fixture.h"
#include "tests/sim/raw_port.h"

namespace sim {
namespace {

using Clock = std::chrono::steady_clock;
using testing_support::Watchdog;

// A fresh config folder per test, so that links never land in the user's.
class SimPtyLink : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tunvexa-sim-test-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string link(int com) const { return dir_ + "/ZEB/ports/com" + std::to_string(com); }

  std::string dir_;
};

// Reads exactly n bytes or gives up after the time-out.
std::vector<uint8_t> readBytes(int fd, size_t n, int timeoutMs = 2000) {
  std::vector<uint8_t> out;
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (out.size() < n && Clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 20) <= 0) continue;
    uint8_t buf[64];
    const ssize_t got = read(fd, buf, std::min(sizeof buf, n - out.size()));
    if (got > 0) out.insert(out.end(), buf, buf + got);
  }
  return out;
}

std::vector<uint8_t> bytesOf(const Frame& f) {
  return {f.begin(), f.end()};
}

class SimPtyServer : public SimPtyLink {
 protected:
  void serve(int com, bool pace, Scenario s = Scenario()) {
    bus_ = std::make_unique<Bus>(s);
    server_ = std::make_unique<PtyServer>(*bus_, com, pace);
    std::string error;
    ASSERT_TRUE(server_->start(error)) << error;
    thread_ = std::thread([this] { server_->run(); });
  }
  void TearDown() override {
    if (server_) {
      Watchdog watchdog(std::chrono::seconds(10), "stopping the simulator");
      server_->stop();
      thread_.join();
      server_.reset();
    }
    SimPtyLink::TearDown();
  }

  std::unique_ptr<Bus> bus_;
  std::unique_ptr<PtyServer> server_;
  std::thread thread_;
};

TEST_F(SimPtyServer, ExchangesAFrameThroughTheLinkedSlave) {
  serve(7, false);
  char target[256];
  const ssize_t n = readlink(link(7).c_str(), target, sizeof target - 1);
  ASSERT_GT(n, 0);
  EXPECT_EQ(std::string(target, n), server_->slavePath());

  // Open, exchange, close and open again: the server must survive the hang-up.
  for (int round = 0; round < 2; ++round) {
    const int fd = sim_test::openRawPort(link(7), B9600);
    ASSERT_GE(fd, 0);
    const Frame f = makeFrame(0xE1, 0, 0);
    ASSERT_EQ(write(fd, f.data(), 4), 4);
    std::vector<uint8_t> expected = bytesOf(f);
    const std::vector<uint8_t> r = bytesOf(makeFrame(0xE1, 0x08, 0x03));
    expected.insert(expected.end(), r.begin(), r.end());
    EXPECT_EQ(readBytes(fd, 8), expected) << "round " << round;
    close(fd);
  }

  server_->stop();
  thread_.join();
  server_.reset();
  struct stat st {};
  EXPECT_NE(lstat(link(7).c_str(), &st), 0) << "the link must go with the server";
}

TEST_F(SimPtyServer, WakePulseIsRecognisedFromTheTerminalRate) {
  Scenario s;
  s.ignition.asleep = true;
  serve(8, false, s);
  const int fd = sim_test::openRawPort(link(8), B9600);
  ASSERT_GE(fd, 0);
  const Frame f = makeFrame(0xE1, 0, 0);
  ASSERT_EQ(write(fd, f.data(), 4), 4);
  EXPECT_EQ(readBytes(fd, 4).size(), 4u) << "the echo";
  EXPECT_EQ(readBytes(fd, 4, 300).size(), 0u) << "asleep: echo only";

  termios t{};
  tcgetattr(fd, &t);
  cfsetispeed(&t, B300);
  cfsetospeed(&t, B300);
  tcsetattr(fd, TCSANOW, &t);
  const uint8_t zero = 0;
  ASSERT_EQ(write(fd, &zero, 1), 1);
  EXPECT_EQ(readBytes(fd, 1), std::vector<uint8_t>{0});
  cfsetispeed(&t, B9600);
  cfsetospeed(&t, B9600);
  tcsetattr(fd, TCSANOW, &t);
  ASSERT_EQ(write(fd, f.data(), 4), 4);
  EXPECT_EQ(readBytes(fd, 8).size(), 8u) << "awake";
  close(fd);
}

TEST_F(SimPtyServer, PacingTakesTwelveByteTimesPerFrame) {
  // Slow modules make the line times large against the machine's scheduling.
  Scenario s;
  s.moduleBaud = 1200;
  serve(9, true, s);
  const int fd = sim_test::openRawPort(link(9), B1200);
  ASSERT_GE(fd, 0);
  // At 1200 baud one byte is 8.33 ms: a read frame is 100 ms on the line.
  // Every frame takes at least that; a busy machine may stretch any one of
  // them, but delays that add up stretch them all, so the fastest shows it.
  const Frame f = makeFrame(0xE1, 0, 0);
  auto fastest = Clock::duration::max();
  for (int i = 0; i < 5; ++i) {
    const auto t0 = Clock::now();
    ASSERT_EQ(write(fd, f.data(), 4), 4);
    const std::vector<uint8_t> first = readBytes(fd, 1);
    const auto tFirst = Clock::now();
    const std::vector<uint8_t> rest = readBytes(fd, 7);
    const auto tAll = Clock::now();
    ASSERT_EQ(first.size() + rest.size(), 8u);
    using std::chrono::microseconds;
    // The first echo byte follows the first byte sent, two byte times in.
    EXPECT_GE(tFirst - t0, microseconds(16'600));
    EXPECT_GE(tAll - t0, microseconds(99'900));
    fastest = std::min(fastest, tAll - t0);
  }
  // Half a frame of room over the twelve byte times.
  EXPECT_LT(fastest, std::chrono::microseconds(150'000)) << "pacing must not add up delays";
  close(fd);
}

TEST_F(SimPtyLink, RefusesALinkThatLeadsToAnotherDevice) {
  Bus bus;
  PtyServer first(bus, 11, false);
  std::string error;
  ASSERT_TRUE(first.start(error)) << error;
  PtyServer second(bus, 11, false);
  EXPECT_FALSE(second.start(error));
  EXPECT_NE(error.find("already leads to a device"), std::string::npos) << error;
}

TEST_F(SimPtyLink, ReplacesALinkLeftBehind) {
  const std::string folder = dir_ + "/ZEB/ports";
  std::filesystem::create_directories(folder);
  ASSERT_EQ(symlink("/dev/pts/no-such-terminal", (folder + "/com12").c_str()), 0);
  Bus bus;
  PtyServer server(bus, 12, false);
  std::string error;
  ASSERT_TRUE(server.start(error)) << error;
  char target[256];
  const ssize_t n = readlink(link(12).c_str(), target, sizeof target - 1);
  ASSERT_GT(n, 0);
  EXPECT_EQ(std::string(target, n), server.slavePath());
}

// The built program, end to end: ready line, a frame, the transcript, SIGTERM.
TEST_F(SimPtyLink, ProgramServesUntilSigterm) {
  const std::string program = TUNVEXA_BIN_DIR "/tunvexa-sim/tunvexa-sim";
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    close(out[1]);
    execl(program.c_str(), program.c_str(), "--com", "13", "--transcript", "-", nullptr);
    _exit(127);
  }
  close(out[1]);
  std::string text;
  auto readUntil = [&](const std::string& what) {
    const auto end = Clock::now() + std::chrono::seconds(5);
    while (text.find(what) == std::string::npos && Clock::now() < end) {
      pollfd p{out[0], POLLIN, 0};
      if (poll(&p, 1, 50) <= 0) continue;
      char buf[256];
      const ssize_t n = read(out[0], buf, sizeof buf);
      if (n <= 0) break;
      text.append(buf, n);
    }
    return text.find(what) != std::string::npos;
  };
  EXPECT_TRUE(readUntil("tunvexa-sim: COM13 ready\n")) << text;

  const int fd = sim_test::openRawPort(link(13), B9600);
  EXPECT_GE(fd, 0);
  if (fd >= 0) {
    const Frame f = makeFrame(0xE2, 0x02, 0);
    ASSERT_EQ(write(fd, f.data(), 4), 4);
    EXPECT_EQ(readBytes(fd, 8).size(), 8u);
    close(fd);
  }
  EXPECT_TRUE(readUntil("frame 1  pc E2 02 00 BA  echo E2 02 00 BA  reply E2 02 04 BE")) << text;

  kill(pid, SIGTERM);
  int status = 0;
  pid_t ended = 0;
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while ((ended = waitpid(pid, &status, WNOHANG)) == 0 && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (ended == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    FAIL() << "tunvexa-sim did not end on SIGTERM";
  }
  ASSERT_EQ(ended, pid);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  close(out[0]);
  struct stat st {};
  EXPECT_NE(lstat(link(13).c_str(), &st), 0);
}

TEST(SimProgram, BadOptionsExitWithTwo) {
  const std::string program = TUNVEXA_BIN_DIR "/tunvexa-sim/tunvexa-sim";
  const char* cases[] = {"",
                         "--com",
                         "--com 0",
                         "--com 100",
                         "--com x",
                         "--com 3 --bogus",
                         "--com 3 --scenario " TUNVEXA_TEST_DATA "/bad.scenario"};
  for (const char* args : cases) {
    const std::string cmd = program + " " + args + " >/dev/null 2>&1";
    const int rc = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(rc)) << args;
    EXPECT_EQ(WEXITSTATUS(rc), 2) << args;
  }
  const int rc = std::system((program + " --help >/dev/null").c_str());
  EXPECT_EQ(WEXITSTATUS(rc), 0);
}

}  // namespace
}  // namespace sim
