#include "viewers/spark/chart_geometry.h"

#include <algorithm>
#include <cmath>

#include "viewers/spark/spark_texts.h"

namespace spark {

const ScaleButton& scaleButton(int index) {
  if (index < 0 || index >= static_cast<int>(kScaleButtons.size())) return kScaleButtons[0];
  return kScaleButtons[static_cast<size_t>(index)];
}

int roundPixel(double value) {
  if (std::isnan(value)) return 0;
  // nearbyint under the default rounding mode rounds half to even.
  return static_cast<int>(std::nearbyint(std::clamp(value, -32768.0, 32767.0)));
}

int speedY(double speed, double baseline, double scaleFactor) {
  return roundPixel(baseline - speed * scaleFactor);
}

std::vector<GridLine> speedGrid(const ScaleButton& scale, double baseline) {
  std::vector<GridLine> grid;
  for (int v = 0; v <= scale.topSpeed; v += scale.gridStep) {
    grid.push_back({v, speedY(v, baseline, scale.scaleFactor)});
  }
  return grid;
}

std::vector<int> timeGrid(int chartWidth, double phase, double columnPeriod) {
  std::vector<int> xs;
  const double step = 1.0 / columnPeriod;
  for (double x = chartWidth - phase / columnPeriod; x >= 0.0; x -= step) {
    xs.push_back(roundPixel(x));
  }
  return xs;
}

std::vector<ScaleLabel> scaleLabels(const std::vector<GridLine>& grid, int chartWidth) {
  std::vector<ScaleLabel> labels;
  for (const GridLine& line : grid) {
    labels.push_back({std::to_string(line.speed), chartWidth - kLabelRightGap, line.y});
  }
  return labels;
}

std::vector<PenStep> curvePath(const ChartColumns& columns, double baseline, double scaleFactor) {
  std::vector<PenStep> path;
  const size_t count =
      std::min({columns.minima.size(), columns.maxima.size(), columns.disturbed.size()});
  if (count == 0) return path;
  path.reserve(2 * count + 1);
  path.push_back({false, kCurveLeadIn, speedY(columns.maxima[0], baseline, scaleFactor)});
  bool lifted = false;
  size_t k = static_cast<size_t>(std::max(columns.columnIndex, 0)) % count;
  for (size_t x = 0; x < count; ++x) {
    const int px = static_cast<int>(x);
    const int yMax = speedY(columns.maxima[k], baseline, scaleFactor);
    if (columns.disturbed[k]) {
      lifted = true;
    } else if (lifted) {
      path.push_back({false, px, yMax});
      lifted = false;
    } else {
      path.push_back({true, px, yMax});
      path.push_back({true, px, speedY(columns.minima[k], baseline, scaleFactor)});
    }
    k = k + 1 == count ? 0 : k + 1;
  }
  return path;
}

std::vector<std::string> overlayTexts(bool dataFlag, bool disturbedFlag) {
  std::vector<std::string> texts;
  if (!dataFlag) texts.emplace_back(kTextNoData);
  if (disturbedFlag) texts.emplace_back(kTextDisturbed);
  return texts;
}

std::string statusText(bool connectDown, bool pauseDown, bool dataFlag, bool disturbedFlag) {
  if (!connectDown) return kStatusNotConnected;
  if (pauseDown) return kStatusPause;
  if (dataFlag) return kStatusRunning;
  if (disturbedFlag) return kTextDisturbed;
  return kStatusNoReception;
}

}  // namespace spark
