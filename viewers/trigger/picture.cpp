#include "viewers/trigger/picture.h"

#include <algorithm>
#include <cmath>

namespace trigger {

namespace {

// Samples from the oldest one of the recording to `position`, across the
// ring's end.
double passedTo(const Recording& rec, double position) {
  double passed = position - rec.oldestSlot();
  if (passed < 0) passed += kRingSize;
  return passed;
}

void fillBand(Picture& picture, int top, int bottom, uint32_t colour) {
  picture.fills.push_back(Fill{0, top, picture.width + 1, bottom, colour});
}

// One decimal with a decimal comma, as the program shows numbers.
std::string ratioText(double ratio) {
  const int tenths = roundEven(ratio * 10.0);
  std::string text = std::to_string(tenths / 10);
  text += ',';
  text += std::to_string(tenths % 10);
  return text;
}

}  // namespace

int32_t slotAt(double position) {
  int32_t slot = roundEven(position);
  if (slot > kLastSlot) slot -= kRingSize;
  if (slot < 0) slot += kRingSize;
  return slot;
}

RowLanes rowLanes(int row, double rowHeight, double rowGap, int offset) {
  const int t = roundEven((row - 1) * rowHeight + rowGap / 2);
  const int b = roundEven(row * rowHeight - rowGap / 2);
  const int m = roundEven((t + b) / 2.0);
  return {t - offset, m - offset, b - offset};
}

LaneEnd drawLane(Picture& picture, const Recording& rec, bool channelA, int laneTop, int laneBottom,
                 double p, std::optional<double> end, const DisplaySettings& s) {
  const std::vector<uint8_t>& samples = channelA ? rec.channelA : rec.channelB;
  fillBand(picture, laneTop, laneBottom, channelA ? s.HintergrundChA : s.HintergrundChB);

  const double margin = (laneBottom - laneTop) * (1.0 - s.levelFraction) / 2.0 + 1.0;
  const int high = roundEven(laneTop + margin);
  const int low = roundEven(laneBottom - margin);
  auto level = [&](uint8_t sample) { return sample ? high : low; };

  const double step = std::nearbyint(s.SamProPxl * 100.0) / 100.0;
  // The end is compared by distance from the oldest sample, so a row that
  // crosses the ring's end is drawn as well.
  const std::optional<double> passedEnd =
      end ? std::optional<double>(passedTo(rec, *end)) : std::nullopt;
  double passed = passedTo(rec, p);

  Trace trace{{}, {}, channelA ? s.LinieA : s.LinieB};
  uint8_t previous = samples[static_cast<size_t>(slotAt(p))];
  trace.points.push_back({0, level(previous)});
  int markFrom = -1;
  LaneEnd result;
  auto closeMark = [&](int x) {
    if (markFrom < 0) return;
    picture.fills.push_back(Fill{markFrom, laneTop, x, laneBottom, s.Marker});
    markFrom = -1;
  };
  int x = 0;
  for (; x <= picture.width; ++x) {
    if (passedEnd && passed > *passedEnd) break;
    if (passed >= rec.DataCount) {
      result.endOfData = true;
      break;
    }
    const int32_t slot = slotAt(p);
    const uint8_t sample = samples[static_cast<size_t>(slot)];
    if (channelA && rec.marks[static_cast<size_t>(slot)] == 1) {
      if (markFrom < 0) markFrom = x;
    } else {
      closeMark(x);
    }
    if (sample != previous) {
      const int from = level(previous), to = level(sample);
      trace.verticals.push_back(Fill{x, std::min(from, to), x + 1, std::max(from, to) + 1, 0});
      if (trace.points.back().x != x - 1 || trace.points.back().y != from) {
        trace.points.push_back({x - 1, from});
      }
      trace.points.push_back({x, to});
      previous = sample;
    }
    p += step;
    if (p > kLastSlot) p = 0;
    passed += s.SamProPxl;
  }
  closeMark(x);
  const int lastX = std::max(x - 1, 0);
  if (trace.points.back().x != lastX) trace.points.push_back({lastX, level(previous)});
  if (x == 0) trace.points.clear();
  picture.traces.push_back(std::move(trace));
  result.position = p;
  result.columns = x;
  return result;
}

void drawStopPicture(Picture& picture, const Recording& rec, const DisplaySettings& s, int offset) {
  picture.clear();
  fillBand(picture, 0, picture.height + 1, s.HintergrundFenster);
  const double perRow = picture.width * s.SamProPxl;
  const int first = static_cast<int>(offset / s.Zeilenhoehe) + 1;
  const int rows = static_cast<int>(picture.height / s.Zeilenhoehe) + 2;
  double p = (first - 1) * perRow;
  if (rec.DataCount >= kRingSize) p += rec.DataWrIdx + 1;
  p = std::fmod(p, kRingSize);
  for (int r = first; r < first + rows; ++r) {
    fillBand(picture, roundEven((r - 1) * s.Zeilenhoehe) - offset,
             roundEven(r * s.Zeilenhoehe) - offset, s.Hintergrund);
    const RowLanes lanes = rowLanes(r, s.Zeilenhoehe, s.rowGap, offset);
    drawLane(picture, rec, true, lanes.top, lanes.middle, p, std::nullopt, s);
    const LaneEnd b = drawLane(picture, rec, false, lanes.middle, lanes.bottom, p, std::nullopt, s);
    if (b.endOfData) break;
    p = b.position;
  }
}

void drawSyncPicture(Picture& picture, const Recording& rec, const Analysis& a,
                     const DisplaySettings& s, int offset) {
  picture.clear();
  fillBand(picture, 0, picture.height + 1, s.HintergrundFenster);
  const int gaps = a.gapCount();
  for (int i = 1; i <= gaps; ++i) {
    const RowLanes lanes = rowLanes(i, s.Zeilenhoehe, s.rowGap, offset);
    // Rows outside the picture would draw nothing that can be seen.
    if (lanes.bottom < 0 || lanes.top > picture.height) continue;
    const double start = a.revolutionStart(i);
    std::optional<double> end;
    if (i < gaps) {
      const int32_t next = a.revolutionStart(i + 1);
      end = next == 0 ? kLastSlot : next - 1;
    }
    drawLane(picture, rec, true, lanes.top, lanes.middle, start, end, s);
    drawLane(picture, rec, false, lanes.middle, lanes.bottom, start, end, s);
    const int y = roundEven((i - 1) * s.Zeilenhoehe + s.rowGap / 2 - offset + 10);
    picture.labels.push_back(Label{10, y, std::to_string(a.teethBefore(i)), s.LinieB});
    // The gap's length in tooth periods, beside the count: a weak or noisy
    // sender shows as a ratio well off the wheel's.
    picture.labels.push_back(Label{60, y, ratioText(a.gapRatio(i)), s.LinieB});
  }
}

void drawLivePicture(Picture& picture, const Recording& rec, const DisplaySettings& s) {
  picture.clear();
  fillBand(picture, 0, picture.height + 1, s.HintergrundFenster);
  fillBand(picture, 0, roundEven(s.Zeilenhoehe), s.Hintergrund);
  double p = rec.DataWrIdx - picture.width * s.SamProPxl - 1;
  if (p < 0) p += kRingSize;
  const RowLanes lanes = rowLanes(1, s.Zeilenhoehe, s.rowGap, 0);
  drawLane(picture, rec, true, lanes.top, lanes.middle, p, std::nullopt, s);
  drawLane(picture, rec, false, lanes.middle, lanes.bottom, p, std::nullopt, s);
}

}  // namespace trigger
