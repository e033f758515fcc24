// Pictures of the ignition page after a read, of the curve graph and of
// each dialog, written into the build tree for review.
#include <gtest/gtest.h>

#include <QDialog>

#include "modules/ignition/curve_graph_mapping.h"
#include "modules/ignition/ui/basic_settings_dialog.h"
#include "modules/ignition/ui/curve_edit_dialog.h"
#include "modules/ignition/ui/curve_graph_window.h"
#include "modules/ignition/ui/extended_settings_dialog.h"
#include "modules/ignition/ui/factory_values_dialog.h"
#include "modules/ignition/ui/pressure_edit_dialog.h"
#include "modules/ignition/ui/pressure_settings_dialog.h"
#include "tests/ignition/ui/ignition_ui_support.h"

namespace ignition {
namespace {

// Shows the dialog with the state the page has after the read, grabs it.
template <class Dialog, class... Args>
void shoot(const QString& name, Args&&... args) {
  Dialog dialog(std::forward<Args>(args)...);
  uitest::activate(&dialog);
  EXPECT_TRUE(uitest::saveShot(&dialog, name)) << name.toStdString();
}

TEST(IgnitionScreenshots, PageGraphAndDialogs) {
  igntest::PageBench b;
  b.click(IgnitionPage::kReadButton);
  ASSERT_EQ(b.prompts.messages, std::vector<int32_t>{8052});
  EXPECT_TRUE(uitest::saveShot(b.window.get(), QStringLiteral("page-201-after-read")));

  IgnitionState& s = b.page->state();
  s.record.UnterDruckA.pressure = {0, 40, 80, 120, 255, 255, 255, 255};
  s.record.UnterDruckA.angle = {0, 3, 6, 8, 0, 0, 0, 0};
  shoot<CurveGraphWindow>(
      QStringLiteral("window-159-zuendkurve"), graphCurvePoints(s.curve1, s.record.Offset),
      graphCurvePoints(s.curve2, s.record.Offset), s.limiterEdit, false, nullptr);
  DialogStack stack;
  int32_t offsetIsVersatz = 1;
  shoot<BasicSettingsDialog>(QStringLiteral("dialog-150-einstellungen"), stack, b.prompts, s,
                             offsetIsVersatz, nullptr);
  shoot<ExtendedSettingsDialog>(QStringLiteral("dialog-151-erweitert"), stack, b.prompts, s.record,
                                nullptr);
  shoot<PressureSettingsDialog>(QStringLiteral("dialog-156-druck"), stack, b.prompts, s.record,
                                nullptr);
  shoot<FactoryValuesDialog>(QStringLiteral("dialog-152-werkeinstellungen"), stack, s.record,
                             nullptr);
  shoot<CurveEditDialog>(QStringLiteral("dialog-3100-kennlinie"), stack, b.prompts, s.curve1,
                         CurveEditState{2500, 22, 1}, s.record.Offset, nullptr);
  PressureList pressures;
  shoot<PressureEditDialog>(QStringLiteral("dialog-3370-druckpunkt"), stack, b.prompts, pressures,
                            CurveEditState{800, 6, 0}, false, nullptr);
}

}  // namespace
}  // namespace ignition
