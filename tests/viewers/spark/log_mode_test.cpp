#include "viewers/spark/log_mode.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "viewers/spark/spark_core.h"

namespace {

// Records what the viewer does to its port, with the time of each call.
class RecordingPort : public spark::ViewerPort, public spark::EventPump {
 public:
  bool Settings(const std::string& text) override {
    log("Settings " + text);
    return true;
  }
  bool PortIsOpen() override { return open; }
  bool OpenPort() override {
    log("OpenPort");
    open = openWorks;
    return openWorks;
  }
  void ClosePort() override {
    log("ClosePort");
    open = false;
  }
  void Send(const std::vector<uint8_t>& bytes) override {
    std::string text = "Send";
    for (uint8_t b : bytes) {
      char hex[4];
      std::snprintf(hex, sizeof hex, " %02X", b);
      text += hex;
    }
    log(text);
  }
  int64_t nowMicros() override { return clock; }
  void letEventsRun() override {
    clock += 700;
    ++pumped;
  }

  void log(const std::string& text) {
    calls.push_back(text);
    times.push_back(clock);
  }

  bool open = false;
  bool openWorks = true;
  int64_t clock = 5000;
  int pumped = 0;
  std::vector<std::string> calls;
  std::vector<int64_t> times;
};

TEST(LogMode, SpecialFunctionToIgnitionAtCommandRateThenBackAfter10Ms) {
  RecordingPort port;
  spark::SchalteAufLogmode(port, port);
  // specialFunction (14) 0x30, 0x08 to bus address 0xE0:
  // 0xEE, 0x30, 0x08 and check 0x5A ^ 0xEE ^ 0x30 ^ 0x08 = 0x8C.
  EXPECT_EQ(port.calls, (std::vector<std::string>{"Settings 9600,n,8,1", "Send EE 30 08 8C",
                                                  "Settings 38400,n,8,1"}));
  EXPECT_GE(port.times[2] - port.times[1], 10000);
  EXPECT_LT(port.times[2] - port.times[1], 10000 + 700);
  EXPECT_GT(port.pumped, 0);  // events ran during the wait
}

struct TickCase {
  const char* name;
  bool connectDown;
  bool portOpen;
  bool openWorks;
  bool speedsArrive;
  spark::ConnectionStep step;
  std::vector<std::string> calls;
};

class ConnectionTick : public ::testing::TestWithParam<TickCase> {};

TEST_P(ConnectionTick, DoesWhatTheButtonAndPortCallFor) {
  const TickCase& c = GetParam();
  RecordingPort port;
  port.open = c.portOpen;
  port.openWorks = c.openWorks;
  spark::SparkCore core(10, 313, 4.0);
  if (c.speedsArrive) {
    const std::vector<uint8_t> p = {0xF2, 0, 0x04, 0xE2, 0x09, 0xC4, 0x0E, 0xA6, 0x13, 0x88, 0,
                                    0,    0, 0,    0,    0,    0,    0,    0,    0,    0,    0xD0};
    core.Receive(p, 0);
    core.startColumnLoop(0);
    core.columnPass(10000, false);
    ASSERT_TRUE(core.dataFlag());
  }
  EXPECT_EQ(core.AbfrageTimerTick(c.connectDown, port, port), c.step);
  EXPECT_EQ(port.calls, c.calls);
}

using spark::ConnectionStep;
INSTANTIATE_TEST_SUITE_P(
    Cases, ConnectionTick,
    ::testing::Values(
        TickCase{"OpenNoSpeeds",
                 true,
                 true,
                 true,
                 false,
                 ConnectionStep::LogModeSent,
                 {"Settings 9600,n,8,1", "Send EE 30 08 8C", "Settings 38400,n,8,1"}},
        TickCase{"OpenWithSpeeds", true, true, true, true, ConnectionStep::Idle, {}},
        TickCase{"Opens", true, false, true, false, ConnectionStep::Opened, {"OpenPort"}},
        TickCase{"OpenFails",
                 true,
                 false,
                 false,
                 false,
                 ConnectionStep::OpenFailed,
                 {"OpenPort", "ClosePort"}},
        TickCase{"Released", false, true, true, false, ConnectionStep::Closed, {"ClosePort"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
