#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "viewers/trigger/recording.h"

namespace trigger {

enum class AnalysisStatus {
  kOk,
  kNoData,     // no rising edge: "Keine Daten!"
  kTooFewData  // 20 periods or fewer: "Zu wenig richtige Daten vorhanden."
};

// The runs, periods and gaps of channel A. Lists are indexed from 0; after
// a failed analysis they hold what was found so far.
struct Analysis {
  AnalysisStatus status = AnalysisStatus::kNoData;
  std::vector<int32_t> runLengths{0};  // R
  std::vector<int32_t> runStarts{0};   // S: slot of each run's first sample
  std::vector<int32_t> periods{0};     // P[k] = R[k] + R[k + 1]; the last is 0
  std::vector<int32_t> classes{0};     // 1 normal, 2 somewhat long, 3 gap
  std::vector<int32_t> gaps{0};        // G[1], G[2], ...: period indices of the gaps

  int gapCount() const { return static_cast<int>(gaps.size()) - 1; }
  // First and last slot of revolution i (1 to gapCount()); the last one has
  // no end of its own.
  int32_t revolutionStart(int i) const {
    return runStarts[static_cast<size_t>(gaps[static_cast<size_t>(i)])];
  }
  // round((G[i] - G[i - 1]) / 2), half to even.
  int teethBefore(int i) const;
  // Gap period i over the mean of the normal tooth periods of the same
  // parity up to the next gap: about 3 for a clean 60-2 wheel, less for a
  // weak or noisy sender. 0 when the revolution has no normal period.
  double gapRatio(int i) const;
};

// Cuts channel A into runs from the first rising edge, classifies the tooth
// periods against a running reference and finds the gaps; writes the marks
// of the recording (1 inside every gap period, 0 elsewhere).
Analysis analyse(Recording& recording);

}  // namespace trigger
