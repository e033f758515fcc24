#include <algorithm>
#include <cstdio>

#include "modules/displays/tank_display.h"

namespace displays {

namespace {

// Decimal, as atoi reads it: the list texts carry leading zeros, which
// "%i" would take for octal.
int32_t decimalAt(const std::string& text, size_t& pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
  int64_t v = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
    if (v < 100000000) v = v * 10 + (text[pos] - '0');
    ++pos;
  }
  return static_cast<int32_t>(negative ? -v : v);
}

}  // namespace

std::string tankPointText(const TankCalibrationPoint& p) {
  char text[32];
  std::snprintf(text, sizeof text, "%03i L %04i", p.litres, p.raw);
  return text;
}

TankCalibrationPoint tankPointOf(const std::string& text) {
  TankCalibrationPoint p;
  size_t pos = 0;
  p.litres = decimalAt(text, pos);
  const size_t unit = text.find('L', pos);
  if (unit == std::string::npos) return p;
  pos = unit + 1;
  p.raw = decimalAt(text, pos);
  return p;
}

bool addTankPoint(TankCalibrationList& list, const TankCalibrationPoint& p) {
  if (list.size() > static_cast<size_t>(kTankListPoints)) return false;
  for (const std::string& text : list) {
    const TankCalibrationPoint q = tankPointOf(text);
    if (q.litres == p.litres) return false;
    if (q.litres < p.litres && q.raw <= p.raw) return false;
    if (q.litres > p.litres && q.raw >= p.raw) return false;
  }
  insertTankLine(list, tankPointText(p));
  return true;
}

void insertTankLine(TankCalibrationList& list, const std::string& text) {
  list.insert(std::upper_bound(list.begin(), list.end(), text), text);
}

TankGaugeScale tankGaugeScale(const TankDisplaySettings& s) {
  TankGaugeScale g;
  for (const TankCalibrationList& list : s.sensors) {
    if (list.size() >= 2) g.capacity += tankPointOf(list.back()).litres;
  }
  for (int32_t doubled = g.capacity; doubled > 0 && doubled < 125; doubled *= 2) ++g.exponent;
  for (int k = 0; k < 5; ++k) g.fractions[k] = g.capacity * k / 4;
  return g;
}

}  // namespace displays
