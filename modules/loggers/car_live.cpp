#include "modules/loggers/car_live.h"

#include "modules/loggers/number_text.h"

namespace loggers {

namespace {

std::string fixed(double value, int precision) {
  std::string s;
  appendFixed(s, value, 1, precision, ',');
  return s;
}

}  // namespace

int32_t readLiveRecord(buslink::ModuleLink& link, LiveRecord& record, bool& fresh) {
  fresh = false;
  uint16_t word = 0;
  if (const int32_t e = link.readLiveValue(255, word); e != 0) return e;
  if ((word >> 8) == 0) return 0;
  LiveRecord r{};
  for (uint8_t i = 0; i < 16; i += 2) {
    if (const int32_t e = link.readLiveValue(i, word); e != 0) return e;
    r[i] = static_cast<uint8_t>(word >> 8);
    r[i + 1] = static_cast<uint8_t>(word);
  }
  record = r;
  fresh = true;
  return 0;
}

LiveTexts liveTexts(const LiveRecord& r, const VehicleData& v, SpeedTracker& speed) {
  LiveTexts t;
  const double volts = supplyVoltage(v, r[15]);
  t.speed = fixed(speed.record(v, r[0], r[1]), 0);
  t.rpm = fixed(engineSpeed(v, r[2], static_cast<uint16_t>(r[3] << 8 | r[4])), 0);
  t.accelerationX = fixed(acceleration(r[5], v.gOffsetX), 2);
  t.accelerationY = fixed(acceleration(r[6], v.gOffsetY), 2);
  t.poti = fixed(potiValue(v, r[7], volts), 0);
  t.lambdaA = fixed(lambdaProbe(v, r[8]), 1);
  t.lambdaB = fixed(lambdaProbe(v, r[9]), 1);
  for (int s = 0; s < 4; ++s) t.sensors[s] = fixed(sensorValue(v, s, r[11 + s]), 1);
  t.voltage = fixed(volts, 1);
  t.marker = (r[10] & 0x04) != 0;
  return t;
}

}  // namespace loggers
