#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "viewers/trigger/display_settings.h"
#include "viewers/trigger/recording.h"
#include "viewers/trigger/trigger_analysis.h"

namespace trigger {

// What a picture consists of, in drawing order, so that the window only
// paints it and tests look at it without pixels.
struct Fill {
  int left, top, right, bottom;  // right and bottom exclusive
  uint32_t colour;
};
struct Point {
  int x, y;
};
// A trace: a polyline plus the vertical lines drawn at each level change.
struct Trace {
  std::vector<Point> points;
  std::vector<Fill> verticals;  // one pixel wide
  uint32_t colour;
};
struct Label {
  int x, y;
  std::string text;
  uint32_t colour;
};
// Fills never overlap a trace of another lane, so all fills are painted
// first (in order), then the traces, then the labels.
struct Picture {
  int width = 0, height = 0;
  std::vector<Fill> fills;
  std::vector<Trace> traces;
  std::vector<Label> labels;

  void clear() {
    fills.clear();
    traces.clear();
    labels.clear();
  }
};

// Row r (from 1) occupies r - 1 to r row heights, less half the row gap at
// each side, shifted up by the scroll offset.
struct RowLanes {
  int top, middle, bottom;
};
RowLanes rowLanes(int row, double rowHeight, double rowGap, int offset);

// Where a lane walk ended: at a position, or at the end of the data.
struct LaneEnd {
  double position = 0.0;
  bool endOfData = false;
  int columns = 0;  // pixel columns drawn
};

// Draws channel A (with the gap marks) or B of one lane from sample
// position `p` over the picture's width, one column per pixel, until `end`
// is passed or the data end.
LaneEnd drawLane(Picture& picture, const Recording& recording, bool channelA, int laneTop,
                 int laneBottom, double p, std::optional<double> end,
                 const DisplaySettings& settings);

// The whole recording in rows, oldest first ("Stop"); `offset` in pixels.
void drawStopPicture(Picture& picture, const Recording& recording, const DisplaySettings& settings,
                     int offset);
// One revolution per row, each starting with its gap ("Sync"), and the
// number of teeth before that gap.
void drawSyncPicture(Picture& picture, const Recording& recording, const Analysis& analysis,
                     const DisplaySettings& settings, int offset);
// Row 1 with the newest samples ("Live-Anzeige").
void drawLivePicture(Picture& picture, const Recording& recording, const DisplaySettings& settings);

// The slot a sample position stands for: rounded half to even, in the ring.
int32_t slotAt(double position);

}  // namespace trigger
