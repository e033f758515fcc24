#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logger_bench.h"
#include "modules/loggers/car_live.h"
#include "modules/loggers/lambda_display.h"
#include "modules/loggers/logger_clock.h"
#include "modules/loggers/rpm_logger.h"
#include "modules/loggers/serial_logger.h"
#include "texts/logger_text_ids.h"
#include "texts/text_ids.h"

namespace loggers::test {
namespace {

using Frames = std::vector<std::vector<uint8_t>>;

platform::LocalTime time2019() {
  platform::LocalTime t;
  t.year = 2019;
  t.month = 3;
  t.day = 3;
  t.hour = 14;
  t.minute = 5;
  t.second = 7;
  return t;
}

TEST(CarLoggerClock, RegistersInTheirOrderThenTheOptions) {
  LoggerBench b;
  RecordingOptions options;
  options.ignition = true;
  options.baud9600 = true;
  std::string version;
  EXPECT_EQ(setCarLoggerClock(b.link, time2019(), options, version), texts::kTextClockSet);
  EXPECT_EQ(version, "V 1.2");
  // Version, then year, month, day, hour, minute, second as BCD, then byte 6.
  const Frames want = {{0x51, 0, 0},    {0x5A, 8, 0x19}, {0x5A, 7, 0x03}, {0x5A, 5, 0x03},
                       {0x5A, 4, 0x14}, {0x5A, 3, 0x05}, {0x5A, 2, 0x07}, {0x53, 6, 0x05}};
  EXPECT_EQ(b.sent(), want);
  EXPECT_EQ(b.module(0x50).memory[6], 5);
}

TEST(CarLoggerClock, FailuresOfTheLink) {
  {
    sim::Scenario s;  // no logger at 0x50
    LoggerBench b(s);
    std::string version;
    EXPECT_EQ(setCarLoggerClock(b.link, time2019(), {}, version), texts::kTextModuleNotFound);
  }
  {
    // A clock register that is not confirmed ends it without a message.
    LoggerBench b;
    b.bus.faults().dropReply.push_back({4, 0});
    std::string version;
    EXPECT_EQ(setCarLoggerClock(b.link, time2019(), {}, version), 0);
    EXPECT_EQ(b.sent().size(), 4u) << "nothing after the failed register";
  }
  {
    // An options byte the logger does not keep is no clock set.
    LoggerBench b;
    b.module(0x50).readOnly.set(6);
    b.module(0x50).memory[6] = 0;
    RecordingOptions options;
    options.zor = true;
    std::string version;
    EXPECT_EQ(setCarLoggerClock(b.link, time2019(), options, version),
              texts::kTextEepromWriteError);
  }
}

TEST(CarLoggerLive, RecordFromTheLiveValues) {
  LoggerBench b;
  LiveRecord r{};
  bool fresh = false;
  ASSERT_EQ(b.link.selectModule(0x50), 0);
  ASSERT_EQ(readLiveRecord(b.link, r, fresh), 0);
  ASSERT_TRUE(fresh);
  const Frames want = {{0x56, 255, 0}, {0x56, 0, 0},  {0x56, 2, 0},  {0x56, 4, 0}, {0x56, 6, 0},
                       {0x56, 8, 0},   {0x56, 10, 0}, {0x56, 12, 0}, {0x56, 14, 0}};
  EXPECT_EQ(b.sent(), want);
  const LiveRecord expected = {100, 0x21, 5, 0x13, 0x88, 50, 50, 128,
                               56,  56,   0, 150,  120,  0,  0,  230};
  EXPECT_EQ(r, expected);
  // No new record: nothing more is read.
  b.module(0x50).liveValues[255] = 0x00FF;
  ASSERT_EQ(readLiveRecord(b.link, r, fresh), 0);
  EXPECT_FALSE(fresh);
  EXPECT_EQ(b.sent().size(), want.size() + 1);

  VehicleData v;
  v.reference = 5.0f;
  v.wheelCircumference = 2.0f;
  v.cylinders = 4;
  SpeedTracker speed;
  const LiveTexts t = liveTexts(r, v, speed);
  // 100 ms + 128 us + 250 ms for one pulse of 2 m: 20,6 km/h; 4 pulses in
  // 5000 x 8 us: 3000 1/min; 50 raw = 1,00 g; 230 raw = 13,5 V.
  EXPECT_EQ(t.speed, "21");
  EXPECT_EQ(t.rpm, "3000");
  EXPECT_EQ(t.accelerationX, "1,00");
  EXPECT_EQ(t.voltage, "13,5");
  EXPECT_EQ(t.poti, "128");
  EXPECT_FALSE(t.marker);
}

TEST(LambdaDisplay, ReadAndWriteTheBrightness) {
  LoggerBench b;
  Brightness br;
  br.day = 0;
  std::string version;
  EXPECT_EQ(readBrightness(b.link, br, version), texts::kTextLoggerReadOk);
  EXPECT_EQ(br.day, 80);
  EXPECT_EQ(br.night, 20);
  br.day = 200;
  br.night = 5;
  EXPECT_EQ(writeBrightness(b.link, br, version), texts::kTextLoggerWriteOk);
  EXPECT_EQ(b.module(0x60).memory[2], 200);
  EXPECT_EQ(b.module(0x60).memory[1], 5);
  EXPECT_EQ(b.module(0x60).restarts, 1);
  const size_t frames = b.sent().size();
  br.night = 256;
  EXPECT_EQ(writeBrightness(b.link, br, version), texts::kTextParameterOutOfRange);
  EXPECT_EQ(b.sent().size(), frames) << "nothing sent";
  b.module(0x60).readOnly.set(1);
  br.night = 6;
  EXPECT_EQ(writeBrightness(b.link, br, version), texts::kTextWriteFailed);
}

TEST(RpmLogger, WriteTheLimitPeriodThenClear) {
  LoggerBench b;
  RpmLoggerValues v;
  v.cylinders = 4;
  v.strokes = 4;
  v.limit = 6000;
  v.maxSpeed = 7000;
  std::string version;
  EXPECT_EQ(writeRpmLogger(b.link, v, version), texts::kTextLoggerWriteOk);
  // 4 x 3750000 / (6000 x 4) = 625.
  const sim::ModuleModel& m = b.module(0xF0);
  EXPECT_EQ(m.memory[32] * 256 + m.memory[33], 625);
  EXPECT_EQ(m.memory[40] * 256 + m.memory[41], 0xFFFF);
  EXPECT_EQ(m.memory[64] + m.memory[65] + m.memory[66], 0);
  EXPECT_EQ(v.maxSpeed, 0);
  // Read back: the highest speed of "no period" is 0, not 57 1/min.
  RpmLoggerValues r;
  EXPECT_EQ(readRpmLogger(b.link, r, version), texts::kTextLoggerReadOk);
  EXPECT_EQ(r.limit, 6000);
  EXPECT_EQ(r.maxSpeed, 0);
  EXPECT_EQ(r.totalMs, 0);
}

TEST(RpmLogger, ReadTheStatistics) {
  LoggerBench b;
  RpmLoggerValues r;
  std::string version;
  ASSERT_EQ(readRpmLogger(b.link, r, version), texts::kTextLoggerReadOk);
  EXPECT_EQ(r.cylinders, 4);
  EXPECT_EQ(r.strokes, 4);
  EXPECT_EQ(r.limit, 6000);     // period 625
  EXPECT_EQ(r.maxSpeed, 6250);  // period 600
  EXPECT_EQ(r.totalMs, 1000);   // (0x0001 x 256 + 0xF4) x 2
  EXPECT_EQ(r.count5to49, 12);
  EXPECT_EQ(r.count50to511, 3);
  EXPECT_EQ(r.countOver511, 1);
  // The wake byte goes before the version read.
  ASSERT_GE(b.sent().size(), 2u);
  EXPECT_EQ(b.sent()[0], (std::vector<uint8_t>{0xF1, 0, 0}));
}

TEST(RpmLogger, RefusesValuesTheModuleCannotHold) {
  const struct {
    int32_t cylinders, strokes, limit;
  } cases[] = {{1, 4, 6000}, {13, 4, 6000}, {4, 3, 6000}, {4, 4, 0}, {2, 4, 100}};
  for (const auto& c : cases) {
    LoggerBench b;
    RpmLoggerValues v;
    v.cylinders = c.cylinders;
    v.strokes = c.strokes;
    v.limit = c.limit;
    std::string version;
    EXPECT_EQ(writeRpmLogger(b.link, v, version), texts::kTextParameterOutOfRange) << c.limit;
    EXPECT_TRUE(b.sent().empty());
  }
  EXPECT_EQ(speedFromPeriod(4, 0, 625), 0);
  EXPECT_EQ(speedFromPeriod(4, 4, 0), 0);
}

TEST(RpmLogger, AFailedClearIsTold) {
  LoggerBench b;
  b.module(0xF0).readOnly.set(40);
  RpmLoggerValues v;
  std::string version;
  EXPECT_EQ(clearRpmLogger(b.link, v, version), texts::kTextWriteFailed);
}

TEST(SerialLogger, RatesAndDivisors) {
  EXPECT_EQ(rateFromDivisor(51, false), 19230);
  EXPECT_EQ(rateIndexFor(19230, false), kIndex19200);
  EXPECT_EQ(divisorForRate(9600, false), 103);
  EXPECT_EQ(divisorForRate(10000, true), 399);
  EXPECT_EQ(rateIndexFor(rateFromDivisor(103, false), false), kIndex9600);
  // 16000000 / 16000 = 1000 baud matches nothing: 19200; in DSO mode 10 kHz.
  EXPECT_EQ(rateIndexFor(1000, false), kIndex19200);
  EXPECT_EQ(rateIndexFor(3000, true), kIndex10kHz);
  EXPECT_EQ(rateText(6, false), "9600 Baud");
  EXPECT_EQ(rateText(4, true), "500 Hz");
  EXPECT_EQ(rateText(8, true), "10 kHz");
}

TEST(SerialLogger, ModeSwitch) {
  SerialLoggerSettings s;
  switchMode(s, SerialMode::Zor);
  EXPECT_EQ(s.rateIndex, kIndex9600);
  EXPECT_EQ(s.crc, 90);
  EXPECT_FALSE(rateListEnabled(s.mode));
  EXPECT_FALSE(fieldsEnabled(s.mode));
  switchMode(s, SerialMode::Dso);
  EXPECT_EQ(s.rateIndex, kIndex10kHz);
  switchMode(s, SerialMode::Selective);
  EXPECT_EQ(s.rateIndex, kIndex19200);
  EXPECT_TRUE(fieldsEnabled(s.mode));
  EXPECT_EQ(modeFromByte(5), SerialMode::Standard);
}

TEST(SerialLogger, ReadWriteAgainstTheModule) {
  LoggerBench b;
  b.module(0x50).memory[3] = 5;  // unknown mode byte
  SerialLoggerSettings s;
  s.mode = SerialMode::Dso;
  std::string version;
  ASSERT_EQ(readSerialLogger(b.link, s, version), texts::kTextLoggerReadOk);
  EXPECT_EQ(s.mode, SerialMode::Standard);
  EXPECT_EQ(s.rateIndex, kIndex19200);  // d = 51
  EXPECT_EQ(s.identifier, 59);

  s.mode = SerialMode::Dso;
  s.rateIndex = kIndex10kHz;
  s.identifier = 300;  // lowest 8 bits: 44
  ASSERT_EQ(writeSerialLogger(b.link, s, time2019(), version), texts::kTextLoggerWriteOk);
  const sim::ModuleModel& m = b.module(0x50);
  EXPECT_EQ(m.memory[3], 2);
  EXPECT_EQ(m.memory[6], 8);
  EXPECT_EQ(m.memory[1] * 256 + m.memory[2], 399);
  EXPECT_EQ(m.memory[16], 44);
  EXPECT_EQ(m.clockRegisters.at(8), 0x19);
  EXPECT_EQ(m.clockRegisters.at(2), 0x07);

  s.mode = SerialMode::Standard;
  s.rateIndex = kIndex9600;
  ASSERT_EQ(writeSerialLogger(b.link, s, time2019(), version), texts::kTextLoggerWriteOk);
  EXPECT_EQ(m.memory[1] * 256 + m.memory[2], 103);
}

TEST(SerialLogger, OldFirmwareAndRatesBeyondTheDivisor) {
  LoggerBench b;
  b.module(0x50).firmwareVersion = 0x0100;
  SerialLoggerSettings s;
  std::string version;
  EXPECT_EQ(readSerialLogger(b.link, s, version), texts::kTextFirmwareTooOld);
  EXPECT_EQ(writeSerialLogger(b.link, s, time2019(), version), texts::kTextFirmwareTooOld);
  // 20 Hz needs d = 199 999, which the module's word cannot hold.
  b.module(0x50).firmwareVersion = 0x0101;
  const size_t frames = b.sent().size();
  s.mode = SerialMode::Dso;
  s.rateIndex = 0;
  EXPECT_EQ(writeSerialLogger(b.link, s, time2019(), version), texts::kTextParameterOutOfRange);
  EXPECT_EQ(b.sent().size(), frames);
}

}  // namespace
}  // namespace loggers::test
