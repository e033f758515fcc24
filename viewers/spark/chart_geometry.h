#pragma once

#include <array>
#include <string>
#include <vector>

namespace spark {

// One of the five scale buttons.
struct ScaleButton {
  const char* caption;
  int topSpeed;        // rpm
  double scaleFactor;  // pixels per rpm
  int gridStep;        // rpm
};

inline constexpr std::array<ScaleButton, 5> kScaleButtons = {{
    {"1500 U/min", 1500, 0.167, 500},
    {"4000 U/min", 4000, 0.0625, 1000},
    {"8000 U/min", 8000, 0.0312, 1000},
    {"13000 U/min", 13000, 0.0192, 2000},
    {"20000 U/min", 20000, 0.0125, 3000},
}};
// The factor in force before a button has been drawn once.
inline constexpr double kStartScaleFactor = 0.05;
inline constexpr int kLabelRightGap = 8;
inline constexpr int kOverlayX = 10;
inline constexpr int kOverlayY = 10;
// The first x of the curve lies this far left of the chart, out of sight.
inline constexpr int kCurveLeadIn = -100;

// A button index outside 0-4 gives the first button.
const ScaleButton& scaleButton(int index);

// Rounds half to even, as the chart has always done; values beyond 16 bits
// (a corrupted packet's speed) are clamped so that drawing stays defined.
int roundPixel(double value);

// y of a speed: baseline - speed x scale factor.
int speedY(double speed, double baseline, double scaleFactor);

struct GridLine {
  int speed;  // rpm, also the label text
  int y;
};
// 0, step, 2 x step, ... up to the top speed.
std::vector<GridLine> speedGrid(const ScaleButton& scale, double baseline);

// x of the vertical second lines: W - phase / column period, then every
// 1 / column period pixels to the left while x >= 0.
std::vector<int> timeGrid(int chartWidth, double phase, double columnPeriod);

struct ScaleLabel {
  std::string text;
  int rightX;   // right edge of the text
  int centreY;  // vertical centre of the text
};
std::vector<ScaleLabel> scaleLabels(const std::vector<GridLine>& grid, int chartWidth);

// The curve as pen moves: `draw` false moves the pen, true draws a line
// from the current point.
struct PenStep {
  bool draw;
  int x;
  int y;
  bool operator==(const PenStep&) const = default;
};

struct ChartColumns {
  const std::vector<double>& minima;
  const std::vector<double>& maxima;
  const std::vector<bool>& disturbed;
  int columnIndex;  // the oldest column, drawn at x = 0
};

// One column per pixel from x = 0 to the last column, oldest first; a
// disturbed column lifts the pen, so the curve shows a gap there.
std::vector<PenStep> curvePath(const ChartColumns& columns, double baseline, double scaleFactor);

// The red notes at the chart's top left, one per text line, in order.
std::vector<std::string> overlayTexts(bool dataFlag, bool disturbedFlag);

// Status bar panel 1.
std::string statusText(bool connectDown, bool pauseDown, bool dataFlag, bool disturbedFlag);

}  // namespace spark
