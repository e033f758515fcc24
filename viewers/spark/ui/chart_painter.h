#pragma once

#include <QColor>
#include <QFont>
#include <string>
#include <vector>

class QImage;
class QPainter;

namespace spark {

class SparkCore;

// The chart's picture size; the core keeps one column per pixel.
inline constexpr int kChartWidth = 857;
inline constexpr int kChartHeight = 313;

inline const QColor kChartBackground{240, 240, 240};
inline const QColor kSpeedGridColour{192, 192, 255};
inline const QColor kTimeGridColour{220, 220, 255};
inline const QColor kCurveColour{0, 0, 128};
inline const QColor kLabelColour{0, 0, 0};
inline const QColor kOverlayColour{255, 0, 0};

// The chart's own font: bold, 13 pixels (9.75 pt at 96 dpi), so the labels
// keep their size whatever the screen's resolution.
QFont chartFont();

// What one drawing put on the picture, for whoever wants to check it.
struct DrawnChart {
  int scaleIndex = 0;
  int columnIndex = 0;  // the oldest column, at x = 0
  std::vector<std::string> overlay;
};

void clearChart(QImage& picture);

// The whole chart of the core's columns at the scale of button `scaleIndex`:
// speed grid, time grid, the min/max curve with a gap at every disturbed
// column, the speed labels and the red notes.
DrawnChart drawChart(QImage& picture, const SparkCore& core, int scaleIndex);

}  // namespace spark
