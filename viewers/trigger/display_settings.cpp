#include "viewers/trigger/display_settings.h"

#include <algorithm>
#include <cmath>

namespace trigger {

std::array<uint32_t, 7> DisplaySettings::colours() const {
  return {HintergrundFenster, Hintergrund, HintergrundChA, HintergrundChB, LinieA, LinieB, Marker};
}

void DisplaySettings::setColours(const std::array<uint32_t, 7>& c) {
  HintergrundFenster = c[0];
  Hintergrund = c[1];
  HintergrundChA = c[2];
  HintergrundChB = c[3];
  LinieA = c[4];
  LinieB = c[5];
  Marker = c[6];
}

double rowHeightUp(double height) {
  return std::min(height + kRowHeightStep, kMaxRowHeight);
}

double rowHeightDown(double height) {
  return std::max(height - kRowHeightStep, kMinRowHeight);
}

double zoomIn(double samplesPerPixel) {
  return std::max(samplesPerPixel * 0.9, kMinSamplesPerPixel);
}

double zoomOut(double samplesPerPixel) {
  return std::min(samplesPerPixel * 1.1, kMaxSamplesPerPixel);
}

int roundEven(double value) {
  return static_cast<int>(std::nearbyint(value));
}

ScrollRange scrollRange(int pictureWidth, int pictureHeight, double samplesPerPixel,
                        double rowHeight, int32_t dataCount, DisplayMode mode, int gapCount) {
  const double s = pictureWidth * samplesPerPixel;
  if (s == 0.0 || dataCount == 0) return {};
  double rows = 0.0;
  if (mode == DisplayMode::kStop) rows = std::ceil(dataCount / s);
  if (mode == DisplayMode::kSync) rows = gapCount;
  const int total = roundEven(rowHeight * rows);
  const int maximum = roundEven((total - pictureHeight) / 4.0);
  return {maximum >= 0, maximum};
}

}  // namespace trigger
