#pragma once

#include <array>
#include <cstdint>

namespace trigger {

// Colours are red + 256 green + 65536 blue.
constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) {
  return r + 256 * g + 65536 * b;
}

inline constexpr double kMinRowHeight = 40.0;
inline constexpr double kMaxRowHeight = 100.0;
inline constexpr double kRowHeightStep = 10.0;
inline constexpr double kMinSamplesPerPixel = 0.1;
inline constexpr double kMaxSamplesPerPixel = 0.5;

// The display block in its stored order; the settings dialog keeps a copy
// of all of it and edits the seven colours.
struct DisplaySettings {
  uint32_t HintergrundFenster = rgb(128, 128, 128);
  uint32_t Hintergrund = rgb(220, 220, 220);
  uint32_t HintergrundChA = rgb(240, 240, 255);
  uint32_t HintergrundChB = rgb(240, 255, 240);
  uint32_t LinieA = rgb(0, 0, 255);
  uint32_t LinieB = rgb(0, 128, 0);
  uint32_t Marker = rgb(255, 255, 200);
  double Zeilenhoehe = 50.0;
  double rowGap = 10.0;
  double SamProPxl = 0.5;
  double levelFraction = 0.5;

  std::array<uint32_t, 7> colours() const;
  void setColours(const std::array<uint32_t, 7>& colours);
};

// The zoom buttons: row height in steps of 10 within 40-100, samples per
// pixel by a tenth within 0.1-0.5.
double rowHeightUp(double height);
double rowHeightDown(double height);
double zoomIn(double samplesPerPixel);
double zoomOut(double samplesPerPixel);

enum class DisplayMode { kStop = 0, kLive = 1, kSync = 2 };

// The scroll bar's maximum (scroll value x 4 = pixel offset), or nothing
// when the bar is disabled.
struct ScrollRange {
  bool enabled = false;
  int maximum = 0;
};
ScrollRange scrollRange(int pictureWidth, int pictureHeight, double samplesPerPixel,
                        double rowHeight, int32_t dataCount, DisplayMode mode, int gapCount);

// Round half to even, as every integer conversion of the drawing does.
int roundEven(double value);

}  // namespace trigger
