#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QTimer>

#include "modules/displays/bar_display.h"
#include "modules/displays/ui/page_models.h"
#include "shell/user_prompts.h"
#include "texts/display_text_ids.h"

namespace displays {

namespace {

using namespace page_id;
using shell::checkBox, shell::numberField, shell::pushButton, shell::radioButton;

constexpr int32_t kSerial = kFirstOwn;
constexpr int32_t kNumber = kFirstOwn + 1;
constexpr int32_t kAddress = kFirstOwn + 2;
constexpr int32_t kStart = kFirstOwn + 3;
constexpr int32_t kStep = kFirstOwn + 4;
constexpr int32_t kBrightness = kFirstOwn + 5;
constexpr int32_t kModes = kFirstOwn + 10;  // four radio buttons, by BarMode
constexpr int32_t kFlags = kFirstOwn + 20;  // four check boxes, by flag bit

constexpr shell::ControlRow kRows[] = {
    pushButton(kWrite, "Schreiben", texts::kTipBarWrite),
    pushButton(kTest, "Anz.-Test", texts::kTipBarTest),
    pushButton(kLoad, "Laden", texts::kTipBarLoad),
    pushButton(kSave, "Speichern", texts::kTipBarSave),
    numberField(kSerial, "Seriennummer", 7, {1000000, 9999999}, texts::kTipBarSerial),
    numberField(kNumber, "Modulnummer", 1, {1, 9}, texts::kTipBarDisplayNumber),
    numberField(kAddress, "Anzeigeadresse", 3, {0, 255}, texts::kTipBarDisplayAddress),
    numberField(kBrightness, "Helligkeit", 3, {0, 255}, texts::kTipBarBrightness),
    radioButton(kModes + kBarStandard, "Standard", "mode", texts::kTipBarStandard),
    radioButton(kModes + kBarLambda, "Lambda", "mode", texts::kTipBarLambda),
    radioButton(kModes + kBarRpm, "Drehzahl", "mode", texts::kTipBarRpm),
    radioButton(kModes + kBarLambdaOld, "Lambda alt", "mode", texts::kTipBarLambdaOld),
    checkBox(kFlags + 0, "Leds nie ganz aus", texts::kTipBarNeverOff),
    checkBox(kFlags + 1, "Zwischenstufen", texts::kTipBarIntermediate),
    checkBox(kFlags + 2, "Balken", texts::kTipBarBar),
    checkBox(kFlags + 3, "Peak-hold", texts::kTipBarPeakHold),
    numberField(kStart, "Startwert", 5, {1, 30000}, texts::kTipBarStartValue),
    numberField(kStep, "Schrittweite", 5, {1, 30000}, texts::kTipBarStep),
};

class BarPageModel : public DisplayPageModel {
 public:
  DisplayKind kind() const override { return DisplayKind::Bar; }
  std::span<const shell::ControlRow> controls() const override { return kRows; }
  bool hasRead() const override { return false; }

  void layout(QWidget* page, shell::DialogTable& t, QGridLayout* grid) override {
    static constexpr int32_t kModule[] = {kWrite, kTest};
    static constexpr int32_t kFile[] = {kLoad, kSave};
    static constexpr int32_t kFields[] = {kSerial, kNumber, kAddress, kBrightness};
    static constexpr int32_t kModeIds[] = {kModes, kModes + 1, kModes + 2, kModes + 3};
    static constexpr int32_t kBehaviour[] = {kFlags,     kFlags + 1, kFlags + 2,
                                             kFlags + 3, kStart,     kStep};
    grid->addWidget(buttonGroup(page, t, QStringLiteral("Modul"), kModule), 0, 0);
    grid->addWidget(buttonGroup(page, t, QStringLiteral("Datei"), kFile), 1, 0);
    grid->addWidget(controlGroup(page, t, QString(), kFields), 2, 0);
    grid->addWidget(controlGroup(page, t, QStringLiteral("Modul-Funktion"), kModeIds), 0, 1, 2, 1);
    grid->addWidget(controlGroup(page, t, QStringLiteral("Anzeige-Verhalten"), kBehaviour), 2, 1);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(2, 1);
    // The peak-hold box exists but is never shown; its bit is kept.
    t.control(kFlags + 3)->hide();
  }

  void show(shell::DialogTable& t) override {
    t.setNumber(kSerial, s_.serialNumber);
    t.setNumber(kNumber, s_.displayNumber);
    t.setNumber(kAddress, s_.displayAddress);
    t.setNumber(kBrightness, s_.brightness);
    t.setNumber(kStart, s_.startValue);
    t.setNumber(kStep, s_.step);
    for (int m = 0; m < 4; ++m) t.setChecked(kModes + m, s_.mode == m);
    for (int b = 0; b < 4; ++b) t.setChecked(kFlags + b, (s_.flags >> b) & 1);
  }

  void take(const shell::DialogTable& t) override {
    s_.serialNumber = fieldOrZero(t, kSerial);
    s_.displayNumber = fieldOrZero(t, kNumber);
    s_.displayAddress = fieldOrZero(t, kAddress);
    s_.brightness = fieldOrZero(t, kBrightness);
    s_.startValue = fieldOrZero(t, kStart);
    s_.step = fieldOrZero(t, kStep);
    for (int m = 0; m < 4; ++m) {
      if (t.isChecked(kModes + m)) s_.mode = static_cast<uint8_t>(m);
    }
    uint8_t flags = 0;
    for (int b = 0; b < 4; ++b) flags |= t.isChecked(kFlags + b) ? 1 << b : 0;
    s_.flags = flags;
  }

  int32_t write(buslink::ModuleLink& link, shell::UserPrompts& prompts) override {
    return writeBarDisplay(link, prompts, s_);
  }

  bool test(PageContext& c) override {
    BarDisplayTest test(c.link, c.prompts);
    if (test.start(s_) != 0) return true;
    // The patterns run on while the message is open.
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&test] { test.tick(); });
    timer.start(BarDisplayTest::kTickMs);
    c.prompts.showMessage(texts::kTextDisplayTestEnd);
    timer.stop();
    test.finish();
    return true;
  }

  int32_t load(const std::string& path) override { return loadBarDisplayFile(s_, path); }
  int32_t save(const std::string& path) override { return saveBarDisplayFile(s_, path); }

  bool command(int32_t id, PageContext& c) override {
    shell::DialogTable& t = c.table;
    if (id >= kModes && id < kModes + 4) {
      // The lambda modes have a fixed LED assignment.
      const bool free = id == kModes + kBarStandard || id == kModes + kBarRpm;
      for (int32_t f : {kStart, kStep, kFlags, kFlags + 1, kFlags + 2, kFlags + 3})
        t.control(f)->setEnabled(free);
      if (free) excludeSteps(t);
      return true;
    }
    if (id == kFlags + 1 || id == kFlags + 2) {
      excludeSteps(t);
      return true;
    }
    return id >= kFlags && id < kFlags + 4;
  }

  const BarDisplaySettings& settings() const { return s_; }

 private:
  // "Zwischenstufen" and "Balken" exclude each other.
  static void excludeSteps(shell::DialogTable& t) {
    t.control(kFlags + 2)->setEnabled(!t.isChecked(kFlags + 1));
    t.control(kFlags + 1)->setEnabled(!t.isChecked(kFlags + 2));
  }

  BarDisplaySettings s_;
};

}  // namespace

std::unique_ptr<DisplayPageModel> makeBarPageModel() {
  return std::make_unique<BarPageModel>();
}

}  // namespace displays
