#include "modules/ignition/curve_list.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "modules/ignition/conversions.h"
#include "texts/ignition_text_ids.h"

namespace ignition {

std::string curveEntryText(int32_t rpm, int32_t angle) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%05i rpm %3i", rpm, angle);
  return buf;
}

std::string pressureEntryText(int32_t mBar, int32_t angle) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04i mBar  %3i", mBar, angle);
  return buf;
}

int32_t entryRpm(const std::string& entry) {
  return std::atoi(entry.c_str());
}
int32_t entryAngle(const std::string& entry) {
  return entry.size() > 9 ? std::atoi(entry.c_str() + 9) : 0;
}
int32_t pressureEntryValue(const std::string& entry) {
  return std::atoi(entry.c_str());
}
int32_t pressureEntryAngle(const std::string& entry) {
  return entry.size() > 10 ? std::atoi(entry.c_str() + 10) : 0;
}

int32_t CurveList::addCurveEntry(int32_t rpm, int32_t angle) {
  if (size() >= kMaxCurveEntries) return texts::kTextCurveTooManyEntries;
  int32_t rounded = roundRpm50(rpm);
  for (const std::string& e : entries_) {
    if (entryRpm(e) == rounded) return texts::kTextRpmPresent;
  }
  addUnchecked(curveEntryText(rounded, angle));
  return 0;
}

void CurveList::addUnchecked(const std::string& text) {
  entries_.insert(std::upper_bound(entries_.begin(), entries_.end(), text), text);
}

int CurveList::removeAt(int index) {
  if (index < 0 || index >= size()) return -1;
  entries_.erase(entries_.begin() + index);
  if (entries_.empty()) return -1;
  return index > 0 ? index - 1 : 0;
}

void CurveList::setPoints(const std::vector<std::pair<int32_t, int32_t>>& points) {
  entries_.clear();
  for (const auto& [rpm, angle] : points) addUnchecked(curveEntryText(rpm, angle));
}

int32_t PressureList::insertPressureEntry(int32_t mBar, int32_t angle) {
  if (size() >= kMaxPressureEntries) return 1;
  int32_t p = (mBar < 1 ? mBar - 5 : mBar + 5) / 10 * 10;
  for (const std::string& e : entries_) {
    if (pressureEntryValue(e) == p) return 2;
  }
  auto at = std::find_if(entries_.begin(), entries_.end(),
                         [p](const std::string& e) { return pressureEntryValue(e) <= p; });
  entries_.insert(at, pressureEntryText(p, angle));
  return 0;
}

void PressureList::removeAt(int index) {
  if (index >= 0 && index < size()) entries_.erase(entries_.begin() + index);
}

void PressureList::insertAt(int index, const std::string& text) {
  index = std::clamp(index, 0, size());
  entries_.insert(entries_.begin() + index, text);
}

}  // namespace ignition
