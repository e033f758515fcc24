#pragma once

#include <QColor>
#include <QImage>

namespace spark_ui_test {

// Pixels of `colour` in row y from x0 up to (not including) x1.
inline int countInRow(const QImage& picture, int y, int x0, int x1, const QColor& colour) {
  int n = 0;
  for (int x = x0; x < x1; ++x) n += picture.pixelColor(x, y) == colour ? 1 : 0;
  return n;
}

inline int countInColumn(const QImage& picture, int x, const QColor& colour) {
  int n = 0;
  for (int y = 0; y < picture.height(); ++y) n += picture.pixelColor(x, y) == colour ? 1 : 0;
  return n;
}

inline int countInBox(const QImage& picture, int x0, int y0, int x1, int y1, const QColor& colour) {
  int n = 0;
  for (int y = y0; y < y1; ++y) n += countInRow(picture, y, x0, x1, colour);
  return n;
}

}  // namespace spark_ui_test
