#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "modules/loggers/car_values.h"
#include "modules/loggers/number_text.h"
#include "modules/loggers/vehicle_data.h"

namespace loggers {
namespace {

TEST(LambdaTable, InterpolatesBetweenItsPoints) {
  const struct {
    double volts, lambda;
  } cases[] = {
      {0.0, 1.3},      // the first point
      {0.03, 1.25},    // half way to 0.06 V
      {0.55, 1.0},     // on a point
      {0.425, 1.025},  // half way between 0.3 and 0.55 V
      {1.15, 0.65},    // half way between 1.1 and 1.2 V
      {2.5, 0.0},      // the last point
      {3.15, -0.3},    // above 2.5 V the last segment goes on: -0.6 per 1.3 V
  };
  for (const auto& c : cases) EXPECT_NEAR(lambdaFromVoltage(c.volts), c.lambda, 1e-9) << c.volts;
}

SensorCurve curve() {
  SensorCurve c;
  c.parameter = 1000;
  c.factor = 1.0;
  const int32_t keys[] = {2000, 1000, 500};
  const double values[] = {100, 50, 20};
  for (int i = 0; i < 3; ++i) {
    c.keys[i] = keys[i];
    c.values[i] = values[i];
  }
  return c;
}

TEST(SensorCurves, InterpolateAndStayInsideThePoints) {
  const SensorCurve c = curve();
  const struct {
    double input, value;
  } cases[] = {
      {1500, 75},   // between 2000 and 1000
      {1000, 50},   // on a point: from the segment above it
      {2000, 100},  // the largest key
      {250, 10},    // below the smallest key: toward (0, 0)
      {5000, 100},  // above the largest key: its value, no point before the first
      {-10, 0},     // below the zero points: the last one
  };
  for (const auto& x : cases) EXPECT_NEAR(evaluateCurve(c, x.input), x.value, 1e-9) << x.input;
}

TEST(CarValues, FormulasWithTheirExampleNumbers) {
  VehicleData v;
  v.reference = 5.0f;
  v.cylinders = 4;
  v.gOffsetX = 0.5f;
  v.sensors[0] = curve();
  EXPECT_DOUBLE_EQ(supplyVoltage(v, 128), 7.5);  // 5 x 3 x 128 / 256
  EXPECT_DOUBLE_EQ(acceleration(100, v.gOffsetX), 1.5);
  // One ignition pulse gives 0; 5 pulses (c = 4) over 3000 x 8 us: 5000.
  EXPECT_EQ(engineSpeed(v, 1, 3000), 0.0);
  EXPECT_DOUBLE_EQ(engineSpeed(v, 5, 3000), 5000.0);
  EXPECT_EQ(engineSpeed(v, 5, 0), 0.0) << "no length: no division by zero";
  v.cylinders = 0;
  EXPECT_EQ(engineSpeed(v, 5, 3000), 0.0) << "a file with 0 cylinders";
  // Raw 153 x 1.0 / 765 = 0.2: 1000 x 0.2 / 0.8 = 250 ohms -> 10.
  EXPECT_NEAR(sensorValue(v, 0, 153), 10.0, 1e-9);
  EXPECT_EQ(sensorValue(v, 0, 0), 0.0);
  EXPECT_EQ(sensorValue(v, 1, 153), 0.0) << "a sensor not fitted";
  // Raw 255 with factor 3: r = 1, the resistance is infinite; the curve
  // keeps to its points.
  v.sensors[0].factor = 3.0;
  EXPECT_EQ(sensorValue(v, 0, 255), 100.0);
  EXPECT_EQ(potiValue(v, 77, 12.0), 77.0) << "without [Poti] the raw byte";
}

TEST(SpeedTracker, PulseFreeRecordsKeepTheSpeedForFiveRecords) {
  VehicleData v;
  v.wheelCircumference = 2.0f;
  SpeedTracker s;
  // One pulse at the start of two intervals: 250 000 us per 2 m = 28.8 km/h.
  EXPECT_DOUBLE_EQ(s.record(v, 0, 0x01), 28.8);
  EXPECT_DOUBLE_EQ(s.record(v, 0, 0x01), 28.8);
  for (int i = 1; i <= 5; ++i) EXPECT_DOUBLE_EQ(s.record(v, 0, 0), 28.8) << i;
  EXPECT_EQ(s.record(v, 0, 0), 0.0) << "the 6th";
  // After 6 pulse-free records: 250 000 + 6 x 250 000 us for one pulse.
  EXPECT_NEAR(s.record(v, 0, 0x01), 7.2 / 1.75, 1e-12);
  // Two pulses, the last 100 ms + 3 x 128 us into the interval:
  // 100 384 + 250 000 us per 2 pulses.
  EXPECT_NEAR(s.record(v, 100, 0x62), 2.0 * 3.6e6 / (350384.0 / 2), 1e-9);
  EXPECT_EQ(s.pulseTotal(), 5u);
  EXPECT_EQ(s.distanceMetres(v), 10);
  // A pulse at 255 ms + 7 x 128 us, then one at 0 in the next interval: the
  // period 250 000 - 255 896 us is below zero and gives no speed, not a
  // negative one.
  s.record(v, 255, 0xE1);
  EXPECT_EQ(s.record(v, 0, 0x01), 0.0);
}

TEST(NumberText, FormatsLikePrintfWithTheGivenSeparator) {
  const struct {
    double value;
    int width, precision;
    const char* text;
  } cases[] = {
      {28.8, 3, 1, "28,8"},
      {0.0, 3, 1, "0,0"},
      {5000.0, 4, 0, "5000"},
      {0.0, 4, 0, "   0"},
      {-0.5, 1, 2, "-0,50"},
      {0.25, 3, 1, "0,2"},
      {0.35, 3, 1, "0,3"},
      {0.45, 3, 1, "0,5"},
      {2.5, 4, 0, "   2"},
      {3.5, 4, 0, "   4"},
      {-0.04, 3, 1, "-0,0"},
      {14.00390625, 2, 1, "14,0"},
      {1e20, 1, 1, "100000000000000000000,0"},
  };
  for (const auto& c : cases) {
    std::string s;
    appendFixed(s, c.value, c.width, c.precision, ',');
    EXPECT_EQ(s, c.text) << c.value;
  }
}

TEST(NumberText, AgreesWithTheCLibraryOverManyValues) {
  // The fast path must round as printf does everywhere, also next to ties.
  char expected[64];
  for (int i = -200000; i <= 200000; i += 7) {
    for (const double v : {i / 1000.0, i / 64.0, i * 0.05, i / 3.0}) {
      for (int precision = 0; precision <= 2; ++precision) {
        std::snprintf(expected, sizeof expected, "%4.*f", precision, v);
        std::string s;
        appendFixed(s, v, 4, precision, '.');
        ASSERT_EQ(s, expected) << v << " precision " << precision;
      }
    }
  }
}

TEST(NumberText, IntegersAndBytes) {
  std::string s;
  appendInt(s, 2, 3);
  appendInt(s, 7, 3, true);
  appendInt(s, -42, 5);
  appendHexByte(s, 0xA6);
  EXPECT_EQ(s, "  2007  -42a6 ");
}

}  // namespace
}  // namespace loggers
