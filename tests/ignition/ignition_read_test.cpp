// Reading the ignition module against the in-process simulator.
#include <gtest/gtest.h>

#include "ignition_io_support.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"

namespace ignition {
namespace {

using test::Bench;
using test::firmware;

using Entries = std::vector<std::string>;

TEST(ReadIgnition, CurrentFirmwareFillsRecordAndStatics) {
  sim::Scenario s;
  s.ignition.typeWord = 0x0D00;
  s.ignition.memory = {{0x63, 36}, {0x64, 1}, {0x65, 160}, {0x70, 0xFE}, {0x87, 0x21}};
  // The module holds cp1252, as the Windows program stores it.
  s.ignition.info = sim::infoFromTexts({"Zeb", "Roadster", "Sport", "Zeile 1\nZ\xE4hler"});
  Bench b(s);
  EXPECT_EQ(b.read(), texts::kTextReadOk);
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{texts::kTextReadOk});
  const IgnitionRecord& r = b.state.record;
  EXPECT_TRUE(b.state.recordValid);
  EXPECT_EQ(b.state.versionText, "V 8.3");
  EXPECT_EQ(b.state.serialText, "0123456");
  EXPECT_EQ(b.state.typeText, hardwareTypeName(0x0D00));
  EXPECT_EQ(r.HwTyp, 0x0D00);
  EXPECT_EQ(r.capability.channels, 4);
  EXPECT_EQ(r.firmwareVersion, 0x803);
  EXPECT_EQ(r.BetriebsDauer, 300);
  EXPECT_EQ(r.limiterRpm, 9950) << "the record's limiter is only taken when writing";
  EXPECT_EQ(b.state.limiterEdit, 9000);
  EXPECT_EQ(b.state.curve1.entries(), (Entries{"00800 rpm   5", "03000 rpm  30"}));
  EXPECT_EQ(b.state.curve2.entries(), (Entries{"00800 rpm   0", "03000 rpm   0"}));
  EXPECT_EQ(r.KwZaehne, 36);
  EXPECT_EQ(r.KwLuecke, 1);
  EXPECT_EQ(r.SchaltBlitz, 8000);
  EXPECT_EQ(r.Korrektur[0], -2);
  EXPECT_EQ(r.FlagsB, 0x21);
  EXPECT_EQ(r.KanalTabelle[7], 0x80);
  EXPECT_EQ(r.InfoHersteller, "Zeb");
  EXPECT_EQ(r.InfoAusfuehrung, "Sport");
  EXPECT_EQ(r.InfoKommentar, "Zeile 1\nZ\xC3\xA4hler");
  EXPECT_EQ(b.state.temperatureText, " ");
  EXPECT_EQ(b.state.maxTemperatureText, "Max:  32") << "raw 100 is 32 degrees";
  EXPECT_FALSE(b.wrote()) << "reading must not change the module";
  EXPECT_FALSE(b.link.serialPort().isOpen());
}

TEST(ReadIgnition, CurveReadBack) {
  struct Case {
    const char* name;
    std::vector<uint8_t> slots;  // rpm byte, angle byte, ... from 0x08 on
    uint8_t limiter;
    uint8_t offsetByte;
    Entries curve1;
  };
  const Case cases[] = {
      {"points a write appended above the limiter are dropped",
       {16, 5, 60, 30, 199, 36, 199, 36, 207, 216, 255, 216},
       199,
       128,
       {"00800 rpm   5", "03000 rpm  30", "09950 rpm  36"}},
      {"a point above the limiter ends the curve",
       {16, 5, 200, 30, 255, 30},
       199,
       128,
       {"00800 rpm   5"}},
      {"without a limiter every point counts",
       {16, 5, 240, 30, 250, 216, 255, 216},
       0,
       128,
       {"00800 rpm   5", "12000 rpm  30", "12500 rpm -40"}},
      {"an rpm byte 0 ends the curve",
       {16, 5, 0, 30, 60, 30, 255, 30},
       180,
       128,
       {"00800 rpm   5"}},
      {"the curve shift is taken off the angles",
       {16, 33, 60, 0, 255, 0},
       180,
       131,
       {"00800 rpm  30", "03000 rpm  -3"}},
      {"a shift outside -10..10 counts as 0", {16, 33, 255, 33}, 180, 150, {"00800 rpm  33"}},
  };
  for (const Case& c : cases) {
    sim::Scenario s;
    for (size_t i = 0; i < c.slots.size(); ++i) s.ignition.memory[0x08 + i] = c.slots[i];
    s.ignition.memory[0x05] = c.limiter;
    s.ignition.memory[0x81] = c.offsetByte;
    Bench b(s);
    EXPECT_EQ(b.read(), texts::kTextReadOk) << c.name;
    EXPECT_EQ(b.state.curve1.entries(), c.curve1) << c.name;
    EXPECT_EQ(b.state.record.Offset, c.offsetByte == 131 ? 3 : 0) << c.name;
  }
}

TEST(ReadIgnition, ReadsBackWhatAWriteWithLimiterRampLeft) {
  Bench b(firmware(0x0600));
  b.prompts.yesNoAnswers = {true};
  ASSERT_EQ(b.read(), texts::kTextReadOk);
  b.state.curve1.setPoints({{800, 10}, {3000, 30}, {7000, 36}});
  b.state.limiterEdit = 6000;
  b.prompts.yesNoAnswers = {true};
  ASSERT_EQ(b.write(), texts::kTextWriteOk);
  // (6700, -40) lies above the limiter and is the write's own ramp.
  EXPECT_EQ(b.module().memory[0x08 + 4], 120);
  EXPECT_EQ(b.module().memory[0x08 + 6], 134);
  EXPECT_EQ(b.module().memory[0x08 + 8], 255);
  ASSERT_EQ(b.read(), texts::kTextReadOk);
  EXPECT_EQ(b.state.curve1.entries(), (Entries{"00800 rpm  10", "03000 rpm  30", "06000 rpm  34"}));
}

TEST(ReadIgnition, OldFirmwareStopsAfterTheCurvesAndCannotBeWritten) {
  Bench b(firmware(0x0204));
  EXPECT_EQ(b.read(), texts::kTextReadOk);
  EXPECT_EQ(b.prompts.messages,
            (std::vector<int32_t>{texts::kTextOldFirmware, texts::kTextReadOk}));
  EXPECT_FALSE(b.state.recordValid);
  EXPECT_EQ(b.state.record.Zylinder, 4);
  EXPECT_EQ(b.state.curve1.size(), 2);
  EXPECT_TRUE(b.frames(6).empty()) << "nothing after the curves is read";
  EXPECT_TRUE(b.state.maxTemperatureText.empty());

  const auto memory = b.module().memory;
  EXPECT_EQ(b.write(), 0);
  EXPECT_EQ(b.prompts.messages.back(), texts::kTextReadModuleFirst);
  EXPECT_EQ(b.module().memory, memory);
  EXPECT_FALSE(b.wrote());
}

TEST(ReadIgnition, RunningEngineStopsBeforeAnythingIsRead) {
  sim::Scenario s;
  s.ignition.period = 1500;
  Bench b(s);
  EXPECT_EQ(b.read(), texts::kTextEngineRunning);
  EXPECT_EQ(b.prompts.messages, std::vector<int32_t>{texts::kTextEngineRunning});
  EXPECT_TRUE(b.frames(2).empty());
  EXPECT_EQ(b.prompts.waitOpened, 0);
  EXPECT_FALSE(b.state.recordValid);
}

TEST(ReadIgnition, OldFirmwareWarnsAndGoesOn) {
  Bench b(firmware(0x0709));
  EXPECT_EQ(b.read(), texts::kTextReadOk);
  EXPECT_EQ(b.prompts.messages,
            (std::vector<int32_t>{texts::kTextOldFirmware, texts::kTextReadOk}));
  EXPECT_TRUE(b.prompts.questions.empty());
  EXPECT_TRUE(b.state.recordValid);
}

TEST(ReadIgnition, RequiredSoftwareVersion) {
  struct Case {
    uint16_t required;
    int32_t result;
  };
  const Case cases[] = {{0x0605, texts::kTextReadOk},
                        {0x1605, texts::kTextSoftwareTooOld},
                        {0x0606, texts::kTextSoftwareTooOld},
                        {0x0700, texts::kTextSoftwareTooOld},
                        {0x0300, texts::kTextReadOk}};
  for (const Case& c : cases) {
    sim::Scenario s;
    s.ignition.requiredSoftwareVersion = c.required;
    Bench b(s);
    EXPECT_EQ(b.read(), c.result) << std::hex << c.required;
  }
}

TEST(ReadIgnition, FlagBytesFollowTheFirmware) {
  struct Case {
    uint16_t firmware;
    uint8_t flags;  // stored in FlagsB, FlagsC and FlagsD alike
    uint8_t flagsB, flagsC, flagsD;
  };
  const Case cases[] = {
      {0x0803, 0x12, 0x12, 0x12, 0x12}, {0x0803, 0xFF, 0, 0, 0},  // unprogrammed bytes
      {0x0701, 0x12, 0x12, 0x12, 0},    {0x0601, 0x12, 0x12, 0, 0}, {0x0310, 0x12, 0, 0, 0},
  };
  for (const Case& c : cases) {
    sim::Scenario s = firmware(c.firmware);
    s.ignition.memory = {{0x87, c.flags}, {0x66, c.flags}, {0x67, c.flags}};
    Bench b(s);
    ASSERT_EQ(b.read(), texts::kTextReadOk) << std::hex << c.firmware;
    EXPECT_EQ(b.state.record.FlagsB, c.flagsB) << std::hex << c.firmware;
    EXPECT_EQ(b.state.record.FlagsC, c.flagsC) << std::hex << c.firmware;
    EXPECT_EQ(b.state.record.FlagsD, c.flagsD) << std::hex << c.firmware;
  }
}

TEST(ReadIgnition, VehicleInformationOnlyFrom0x602) {
  for (uint16_t version : {0x0601, 0x0602}) {
    sim::Scenario s = firmware(version);
    s.ignition.info = sim::infoFromTexts({"Zeb", "", "", ""});
    Bench b(s);
    ASSERT_EQ(b.read(), texts::kTextReadOk);
    EXPECT_EQ(b.state.record.InfoHersteller, version >= 0x602 ? "Zeb" : "") << std::hex << version;
    EXPECT_FALSE(b.module().infoSelected());
  }
}

TEST(ReadIgnition, ModuleWithoutTemperatureSensorKeepsTheStatics) {
  sim::Scenario s;
  s.ignition.liveValues[0] = 3;
  Bench b(s);
  ASSERT_EQ(b.read(), texts::kTextReadOk);
  EXPECT_TRUE(b.state.maxTemperatureText.empty());
  EXPECT_EQ(b.state.record.maxTempRelative, 0) << "the module's 100 is not read";
  EXPECT_EQ(b.state.record.maxTempAbsolute, 255);
}

TEST(ReadIgnition, SleepingModuleIsWokenOnce) {
  sim::Scenario s;
  s.ignition.asleep = true;
  Bench b(s);
  EXPECT_EQ(b.read(), texts::kTextReadOk);
  int pulses = 0;
  for (const sim::TranscriptEntry& e : b.bus.transcript()) {
    if (e.kind == sim::TranscriptEntry::Kind::kLineByte && e.baudRate == 300) ++pulses;
  }
  EXPECT_EQ(pulses, 1);
  EXPECT_TRUE(b.state.recordValid);

  sim::Scenario dead;
  dead.ignition.answers = false;
  Bench d(dead);
  EXPECT_EQ(d.read(), texts::kTextModuleNotFound);
  EXPECT_EQ(d.frames(1).size(), 2u) << "one retry after the pulse, no more";
}

// The simulator's port, refusing the wake pulse's rate.
class NoSlowRate : public sim::SimDevice {
 public:
  using SimDevice::SimDevice;
  bool applyLineSettings(int baud) override {
    return baud != 300 && SimDevice::applyLineSettings(baud);
  }
};

TEST(ReadIgnition, PortThatCannotSendTheWakePulseIsReportedAsSuch) {
  sim::Scenario s;
  s.ignition.asleep = true;
  sim::Bus bus(s);
  sim::VirtualClock clock;
  buslink::ModuleLink link(std::make_unique<NoSlowRate>(bus, clock), clock);
  link.setPortNumber(4);
  shell::ScriptedPrompts prompts;
  IgnitionState state;
  initialiseState(state);
  // Not the port's own negative code, which has no text to show.
  EXPECT_EQ(readIgnition(state, link, prompts), texts::kTextCannotOpenPort);
}

TEST(ReadIgnition, FailureHalfWayLeavesTheRecordUnfitForWriting) {
  sim::Scenario s;
  // Identification takes a few dozen frames; the 40th is inside the curves.
  s.faults.silentAfter.push_back({40, 0});
  Bench b(s);
  EXPECT_EQ(b.read(), texts::kTextTooFewBytes);
  EXPECT_FALSE(b.state.recordValid);
  EXPECT_FALSE(b.link.serialPort().isOpen());
  EXPECT_EQ(b.prompts.waitClosed, b.prompts.waitOpened);
}

TEST(ReadIgnition, WaitWindowStepsOncePerFrame) {
  Bench b;
  ASSERT_EQ(b.read(), texts::kTextReadOk);
  EXPECT_EQ(b.prompts.lastWaitSteps, 200);
  EXPECT_EQ(b.prompts.lastWaitText, texts::kTextReadingModule);
  EXPECT_GT(b.prompts.waitSteps, 50);
  EXPECT_EQ(b.prompts.waitSteps, b.prompts.framesAtClose - b.prompts.framesAtOpen);
}

TEST(ReadMemoryImage, CopiesAllAddresses) {
  Bench b;
  b.module().memory[0x42] = 0x5A;
  readMemoryImage(b.state, b.link, b.prompts);
  EXPECT_TRUE(b.state.dumpPresent);
  EXPECT_EQ(b.state.record.memoryImage, b.module().memory);
  EXPECT_EQ(b.prompts.lastWaitSteps, 256);
  EXPECT_EQ(b.prompts.lastWaitText, texts::kTextMakingMemoryImage);
  EXPECT_EQ(b.prompts.waitSteps, 256);
  EXPECT_EQ(b.prompts.waitSteps, b.prompts.framesAtClose - b.prompts.framesAtOpen);
  EXPECT_FALSE(b.link.serialPort().isOpen());
  // The next read starts a new record: the image is no longer fresh.
  ASSERT_EQ(b.read(), texts::kTextReadOk);
  EXPECT_FALSE(b.state.dumpPresent);

  sim::Scenario none;
  none.hasIgnition = false;
  Bench n(none);
  readMemoryImage(n.state, n.link, n.prompts);
  EXPECT_FALSE(n.state.dumpPresent);
  EXPECT_EQ(n.prompts.messages, std::vector<int32_t>{texts::kTextModuleNotFound});
  EXPECT_EQ(n.prompts.waitOpened, 0);
}

}  // namespace
}  // namespace ignition
