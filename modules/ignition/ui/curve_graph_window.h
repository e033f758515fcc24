#pragma once

#include <QDialog>
#include <cstdint>
#include <vector>

#include "modules/ignition/curve_graph_mapping.h"

class QPainter;

namespace ignition {

// "Zündkurve" (159): both rpm curves as angle over rpm, curve 1 red and
// curve 2 green, with the limiter in blue and the soft-limit ramp. It has no
// controls; Escape or the close box end it.
class CurveGraphWindow : public QDialog {
 public:
  static constexpr int32_t kKey = 159;

  // The points carry the angle the module fires at (entry plus shift);
  // limiterRpm 0 = no limiter.
  CurveGraphWindow(std::vector<GraphCurvePoint> curve1, std::vector<GraphCurvePoint> curve2,
                   int32_t limiterRpm, bool hardLimiter, QWidget* parent);

  const GraphGeometry& geometry() const { return geometry_; }
  void paintGraph(QPainter& painter) const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void drawAngleLabel(QPainter& painter, int32_t angle, const QString& text) const;
  void drawCurve(QPainter& painter, const std::vector<GraphCurvePoint>& curve) const;

  std::vector<GraphCurvePoint> curve1_;
  std::vector<GraphCurvePoint> curve2_;
  int32_t limiterRpm_;
  bool hardLimiter_;
  GraphGeometry geometry_;
};

}  // namespace ignition
