#include <QLocale>
#include <cmath>
#include <optional>

#include "viewers/common/config.h"
#include "viewers/common/ui/form_store.h"
#include "viewers/common/ui/uc_com.h"
#include "viewers/trigger/ui/hf.h"

namespace trigger {

namespace {

const char* const kColourPaths[7] = {
    "Display/Farben/HintergrundFenster",
    "Display/Farben/Hintergrund",
    "Display/Farben/HintergrundChA",
    "Display/Farben/HintergrundChB",
    "Display/Farben/LinieA",
    "Display/Farben/LinieB",
    "Display/Farben/Marker",
};
constexpr const char* kRowHeightPath = "Display/Zeilenh\xC3\xB6he";
constexpr const char* kSamplesPerPixelPath = "Display/SamProPxl";

// The user's number format in both directions, as the Windows viewer
// stores it: "0,5" on a German desktop. A point is read as well, so a file
// moved between desktops of other formats still loads.
std::optional<double> decimalOf(const std::string& text) {
  QString t = QString::fromStdString(text).trimmed();
  bool ok = false;
  double value = QLocale().toDouble(t, &ok);
  if (!ok) value = QLocale::c().toDouble(t.replace(QLatin1Char(','), QLatin1Char('.')), &ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string decimalText(double value) {
  return QLocale().toString(value, 'g', 15).toStdString();
}

}  // namespace

// Values the drawing cannot work with (a row height of 0, a zoom beyond its
// buttons' range) count as not converting: they keep their default.
void HF::readStoredSettings() {
  display_ = DisplaySettings{};
  if (auto v = decimalOf(config_.ReadText(kRowHeightPath));
      v && *v >= kMinRowHeight && *v <= kMaxRowHeight) {
    display_.Zeilenhoehe = *v;
  }
  if (auto v = decimalOf(config_.ReadText(kSamplesPerPixelPath));
      v && *v >= kMinSamplesPerPixel - 1e-9 && *v <= kMaxSamplesPerPixel + 1e-9) {
    display_.SamProPxl = *v;
  }
  std::array<uint32_t, 7> colours = display_.colours();
  for (size_t i = 0; i < colours.size(); ++i) {
    bool ok = false;
    const qlonglong value =
        QString::fromStdString(config_.ReadText(kColourPaths[i])).trimmed().toLongLong(&ok);
    if (ok && value >= 0 && value <= 0xFFFFFF) colours[i] = static_cast<uint32_t>(value);
  }
  display_.setColours(colours);
}

void HF::storeSettings() {
  if (stored_) return;
  stored_ = true;
  config_.WriteText("Port", com_->GetCOMPort());
  config_.WriteText(kRowHeightPath, decimalText(display_.Zeilenhoehe));
  config_.WriteText(kSamplesPerPixelPath, decimalText(display_.SamProPxl));
  const std::array<uint32_t, 7> colours = display_.colours();
  for (size_t i = 0; i < colours.size(); ++i) {
    config_.WriteText(kColourPaths[i], std::to_string(colours[i]));
  }
  viewers::saveForm(config_, this);
  config_.SaveCfg();
}

}  // namespace trigger
