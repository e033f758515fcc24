#include "viewers/trigger/trigger_analysis.h"

#include <algorithm>
#include <cmath>

namespace trigger {

int Analysis::teethBefore(int i) const {
  const double difference = gaps[static_cast<size_t>(i)] - gaps[static_cast<size_t>(i - 1)];
  return static_cast<int>(std::nearbyint(difference / 2.0));
}

double Analysis::gapRatio(int i) const {
  const size_t gap = static_cast<size_t>(gaps[static_cast<size_t>(i)]);
  const size_t end =
      i < gapCount() ? static_cast<size_t>(gaps[static_cast<size_t>(i + 1)]) : periods.size();
  double sum = 0.0;
  int n = 0;
  for (size_t k = gap + 2; k < end && k < classes.size(); k += 2) {
    if (classes[k] != 1 || periods[k] == 0) continue;
    sum += periods[k];
    ++n;
  }
  if (n == 0 || sum == 0.0) return 0.0;
  return periods[gap] / (sum / n);
}

namespace {

void classify(std::vector<int32_t>& c, const std::vector<int32_t>& p, size_t k, double& m) {
  double sum = m;
  int found = 0;
  for (size_t j = k; j >= 2 && found < 4;) {
    j -= 2;
    if (c[j] == 1) {
      sum += p[j];
      ++found;
    }
  }
  m = sum / 4.0;
  if (m > p[k]) {
    c[k] = 1;
  } else if (1.5 * m > p[k]) {
    c[k] = 2;
  } else {
    c[k] = 3;
  }
}

}  // namespace

Analysis analyse(Recording& rec) {
  Analysis a;
  std::fill(rec.marks.begin(), rec.marks.end(), 0);
  const int32_t count = std::clamp(rec.DataCount, 0, kRingSize);
  const std::vector<uint8_t>& ch = rec.channelA;
  const int32_t start = count == kRingSize ? nextSlot(std::clamp(rec.DataWrIdx, 0, kLastSlot)) : 0;

  int32_t edge = -1;
  for (int32_t i = 0, s = start; i < count; ++i, s = nextSlot(s)) {
    if (ch[static_cast<size_t>(s)] == 0 && ch[static_cast<size_t>(nextSlot(s))] == 1) {
      edge = s;
      break;
    }
  }
  if (edge < 0) {
    a.status = AnalysisStatus::kNoData;
    return a;
  }

  // Past the newest sample this reads the slots that follow it, and the
  // first run counts one sample more than it has: both as the module's
  // program has always done it, so stored recordings give the same rows.
  a.runLengths.clear();
  int32_t length = 1;
  uint8_t previous = 0;
  for (int32_t i = 0, s = edge; i <= count; ++i, s = nextSlot(s)) {
    const uint8_t sample = ch[static_cast<size_t>(s)];
    if (sample == previous) {
      ++length;
    } else {
      a.runLengths.push_back(length);
      a.runStarts.push_back(s);
      length = 1;
    }
    previous = sample;
  }
  if (a.runLengths.empty()) a.runLengths.push_back(0);

  const size_t n = a.runLengths.size();
  a.periods.assign(n, 0);
  for (size_t k = 0; k + 1 < n; ++k) a.periods[k] = a.runLengths[k] + a.runLengths[k + 1];
  if (n - 1 <= 19) {
    a.status = AnalysisStatus::kTooFewData;
    return a;
  }

  std::vector<int32_t>& c = a.classes;
  c.assign(n, 0);
  double m = 0.0;
  for (size_t k : {1, 3, 5, 7}) c[k] = 1;
  for (size_t k = 9; k < n; k += 2) classify(c, a.periods, k, m);
  for (size_t k : {0, 2, 4, 6}) c[k] = 1;
  for (size_t k = 8; k < n; k += 2) classify(c, a.periods, k, m);

  int n1 = 0, n2 = 0;
  for (size_t i = 1; i + 3 < n; i += 2) {
    if (c[i] > 1 && c[i + 2] > 1) ++n1;
    if (c[i + 1] > 1 && c[i + 3] > 1) ++n2;
  }
  const size_t first = n2 < n1 ? 1 : 2;
  for (size_t k = first; k < n; k += 2) {
    if (c[k] <= 2) continue;
    int32_t s = a.runStarts[k];
    for (int32_t i = 0; i < a.periods[k]; ++i, s = nextSlot(s))
      rec.marks[static_cast<size_t>(s)] = 1;
    a.gaps.push_back(static_cast<int32_t>(k));
  }
  a.status = AnalysisStatus::kOk;
  return a;
}

}  // namespace trigger
