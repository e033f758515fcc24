#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "sim/bus.h"
#include "sim/scenario_parser.h"
#include "viewers/trigger/trigger_analysis.h"
#include "viewers/trigger/uc_zuend.h"

namespace {

using trigger::Recording;
using trigger::ucZuend;

// The viewer's port on the simulated bus in virtual time: every byte sent
// holds the line for its 10 bit times at 9600 baud, and each pass of the
// event loop lets 0.5 ms pass and hands over what the bus sent meanwhile.
class SimPort : public spark::ViewerPort, public spark::EventPump {
 public:
  static constexpr int64_t kByteMicros = 10 * 1000000 / 9600;

  explicit SimPort(sim::Bus& bus) : bus_(bus) {}

  bool Settings(const std::string&) override { return true; }
  bool PortIsOpen() override { return true; }
  bool OpenPort() override { return true; }
  void ClosePort() override {}
  void Send(const std::vector<uint8_t>& bytes) override {
    for (uint8_t b : bytes) {
      now_ += kByteMicros;
      bus_.receive(b, 9600, now_);
    }
  }
  int64_t nowMicros() override { return now_; }
  void letEventsRun() override {
    now_ += 500;
    bus_.advanceTo(now_);
    std::vector<uint8_t> bytes;
    while (bus_.hasOutput()) bytes.push_back(bus_.takeOutput());
    if (!bytes.empty() && zuend) zuend->ucCOM_Receive(bytes);
  }
  // Runs the event loop for `micros` of bus time.
  void run(int64_t micros) {
    const int64_t end = now_ + micros;
    while (now_ < end) {
      letEventsRun();
      if (zuend) zuend->monitorTick();
    }
  }

  ucZuend* zuend = nullptr;

 private:
  sim::Bus& bus_;
  int64_t now_ = 0;
};

sim::Scenario scenario(const std::string& text) {
  sim::ScenarioResult r = sim::parseScenario(text);
  if (!r.scenario) throw std::runtime_error(r.error);
  return *r.scenario;
}

struct Rig {
  explicit Rig(const std::string& text) : Rig(scenario(text)) {}
  explicit Rig(const sim::Scenario& s) : bus(s), port(bus), zuend(port, port, rec) {
    port.zuend = &zuend;
  }
  sim::Bus bus;
  SimPort port;
  Recording rec;
  ucZuend zuend;
};

// The frames of the identification read, written out as the link protocol
// defines them: readByte of the serial number cells 0xFC-0xFF,
// readFirmwareVersion, readTypeId, then readByte of cells 1, 2, 99, 100, 6
// and 135.
const std::vector<std::vector<uint8_t>> kIdentification = {
    {0xE2, 0xFC, 0x00, 0x44}, {0xE2, 0xFD, 0x00, 0x45}, {0xE2, 0xFE, 0x00, 0x46},
    {0xE2, 0xFF, 0x00, 0x47}, {0xE1, 0x00, 0x00, 0xBB}, {0xE0, 0x00, 0x00, 0xBA},
    {0xE2, 0x01, 0x00, 0xB9}, {0xE2, 0x02, 0x00, 0xBA}, {0xE2, 0x63, 0x00, 0xDB},
    {0xE2, 0x64, 0x00, 0xDC}, {0xE2, 0x06, 0x00, 0xBE}, {0xE2, 0x87, 0x00, 0x3F},
};

TEST(ucZuendOnTheBus, IdentificationSequence) {
  Rig rig(
      "ignition\n  serial 1234567\n  firmware 1.5.2\n  type 0x0300\n  mem 6 0x30\n"
      "  mem 135 0x02\n  mem 99 36 1\n");
  ASSERT_TRUE(rig.zuend.GetModulInfo());
  std::vector<std::vector<uint8_t>> frames;
  for (const sim::TranscriptEntry& e : rig.bus.transcript()) frames.push_back(e.pc);
  EXPECT_EQ(frames, kIdentification);
  const trigger::ModuleValues& v = rig.zuend.values();
  EXPECT_EQ(v.ModSerienNr, "1234567");
  EXPECT_EQ(v.ModVersion, "V 1.5.2");
  EXPECT_EQ(v.ModTypNr, 3);
  EXPECT_EQ(v.ModZylinder, 4);
  EXPECT_EQ(v.ModTakte, 4);
  EXPECT_EQ(v.ModKwZaehne, 36);
  EXPECT_EQ(v.ModKwLuecke, 1);
  EXPECT_EQ(v.ModZylinder1, 1);
  EXPECT_EQ(v.ModLeertakt, 1);
  EXPECT_EQ(v.ModKwGeber, 1);
}

TEST(ucZuendOnTheBus, EchoMismatchFailsTheRead) {
  Rig rig("fault wrong-echo 3\n");
  EXPECT_FALSE(rig.zuend.GetModulInfo());
  EXPECT_EQ(rig.bus.transcript().size(), 3u);
  EXPECT_FALSE(rig.zuend.ModInfoOk());
}

TEST(ucZuendOnTheBus, AnswerFromAnotherAddressKeepsTheValue) {
  // The version answer is lost and a frame of the type command comes instead.
  Rig rig(
      "ignition\n  firmware 1.5.2\nfault drop-reply 5 0\nfault drop-reply 5 1\n"
      "fault drop-reply 5 2\nfault drop-reply 5 3\ninject after-frame 5 0xE0 0x08 0x00 0xB2\n");
  ASSERT_TRUE(rig.zuend.GetModulInfo());
  EXPECT_EQ(rig.zuend.values().ModVersion, "");
  EXPECT_EQ(rig.zuend.values().ModSerienNr, "0123456");
}

TEST(ucZuendOnTheBus, OszimodeRecordsTheWheel) {
  Rig rig("ignition\n  wheel-rpm 200\n");
  ASSERT_TRUE(rig.zuend.GetModulInfo());
  // The monitor switches the module into its oscilloscope mode after 0.5 s.
  rig.port.run(600000);
  EXPECT_TRUE(rig.bus.ignition()->osciMode);
  EXPECT_TRUE(rig.zuend.DatenempfangOszimode());
  // Frames back to back: 40 bit times each at 9600 baud, 240 a second.
  const int before = rig.bus.osciStream().framesSent();
  rig.port.run(10000000);
  EXPECT_NEAR(rig.bus.osciStream().framesSent() - before, 2400, 1);
  // 1920 samples per second at 9600 baud: 60 000 in 31.25 s.
  rig.port.run(32000000);
  EXPECT_EQ(rig.rec.DataCount, trigger::kRingSize);
  const trigger::Analysis a = trigger::analyse(rig.rec);
  ASSERT_EQ(a.status, trigger::AnalysisStatus::kOk);
  // 200 rpm: 3.33 revolutions per second, about 104 in 31.25 s.
  EXPECT_GE(a.gapCount(), 100);
  EXPECT_LE(a.gapCount(), 105);
  for (int i = 2; i <= a.gapCount(); ++i) EXPECT_EQ(a.teethBefore(i), 58) << i;
}

TEST(ucZuendOnTheBus, ReplayedRecordingReplacesTheWheel) {
  // Three seconds of a 36-1 wheel, while the module is set up for 60-2.
  sim::TriggerWheelSetup wheel;
  wheel.fromRpm = wheel.toRpm = 300;
  sim::TriggerWheel source(wheel, 36, 1, 1920.0);
  auto samples = std::make_shared<std::vector<std::pair<uint8_t, uint8_t>>>();
  for (int i = 0; i < 3 * 1920; ++i) samples->push_back(source.nextSample());
  sim::Scenario s;
  s.ignition.wheel.replay = samples;
  Rig rig(s);
  ASSERT_TRUE(rig.zuend.GetModulInfo());
  rig.port.run(33000000);
  const trigger::Analysis a = trigger::analyse(rig.rec);
  ASSERT_EQ(a.status, trigger::AnalysisStatus::kOk);
  ASSERT_GE(a.gapCount(), 100);
  // Played over and over: every revolution, also across the loop's seam.
  for (int i = 2; i <= a.gapCount(); ++i) EXPECT_EQ(a.teethBefore(i), 35) << i;
}

}  // namespace
