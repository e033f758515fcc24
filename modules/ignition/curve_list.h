#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ignition {

constexpr int kMaxCurveEntries = 17;
constexpr int kMaxPressureEntries = 8;

// "%05i rpm %3i": five-digit rpm, so that text order is rpm order.
std::string curveEntryText(int32_t rpm, int32_t angle);
// "%04i mBar  %3i".
std::string pressureEntryText(int32_t mBar, int32_t angle);
// The number at the start of an entry, and the number from its 10th (rpm
// entries) or 11th (pressure entries) character on; like C atoi.
int32_t entryRpm(const std::string& entry);
int32_t entryAngle(const std::string& entry);
int32_t pressureEntryValue(const std::string& entry);
int32_t pressureEntryAngle(const std::string& entry);

// One rpm curve as the page's sorted list holds it: entry texts in text
// order, at most 17 (when added through addCurveEntry), no rpm twice.
class CurveList {
 public:
  const std::vector<std::string>& entries() const { return entries_; }
  int size() const { return static_cast<int>(entries_.size()); }
  void clear() { entries_.clear(); }
  // 0, 8025 (full) or 8011 (rpm present after rounding to 50).
  int32_t addCurveEntry(int32_t rpm, int32_t angle);
  // A line from a settings file, taken as it is (sorted like any entry).
  void addUnchecked(const std::string& text);
  // Removes entry `index`; returns the index to select afterwards (the one
  // before it, or 0), -1 when the list is empty or the index is invalid.
  int removeAt(int index);
  // (800, 5), (3000, 30) or the like: replaces the content.
  void setPoints(const std::vector<std::pair<int32_t, int32_t>>& points);

 private:
  std::vector<std::string> entries_;
};

// One pressure curve as dialog 156 lists it: descending pressure, at most 8.
class PressureList {
 public:
  const std::vector<std::string>& entries() const { return entries_; }
  int size() const { return static_cast<int>(entries_.size()); }
  void clear() { entries_.clear(); }
  // 0, 1 (full) or 2 (pressure present after rounding to 10 mBar).
  int32_t insertPressureEntry(int32_t mBar, int32_t angle);
  void removeAt(int index);
  // Puts an entry back at its old place (a refused edit).
  void insertAt(int index, const std::string& text);

 private:
  std::vector<std::string> entries_;
};

}  // namespace ignition
