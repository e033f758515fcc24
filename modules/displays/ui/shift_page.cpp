#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <cstdio>

#include "modules/displays/shift_display.h"
#include "modules/displays/ui/display_dialogs.h"
#include "modules/displays/ui/page_models.h"

namespace displays {

namespace {

using namespace page_id;
using shell::comboBox, shell::numberField, shell::pushButton, shell::readOnly;

constexpr int32_t kLive = kFirstOwn;
constexpr int32_t kResetMaximum = kFirstOwn + 1;
constexpr int32_t kDay = kFirstOwn + 2;
constexpr int32_t kNight = kFirstOwn + 3;
constexpr int32_t kFactor = kFirstOwn + 4;
constexpr int32_t kMaximum = kFirstOwn + 5;
constexpr int32_t kSerial = kFirstOwn + 6;
constexpr int32_t kGreen = kFirstOwn + 10;  // seven fields
constexpr int32_t kRed = kFirstOwn + 20;    // seven fields

constexpr shell::ControlRow kRows[] = {
    pushButton(kRead, "Lesen"),
    pushButton(kWrite, "Schreiben"),
    pushButton(kLive, "Anzeige"),
    pushButton(kTest, "Test"),
    pushButton(kLoad, "Laden"),
    pushButton(kSave, "Speichern"),
    numberField(kDay, "Tag", 3, {0, 255}),
    numberField(kNight, "Nacht", 3, {0, 255}),
    comboBox(kFactor, "Drehzahlfaktor"),
    numberField(kGreen + 0, "Led 1", 4),
    numberField(kGreen + 1, "Led 2", 4),
    numberField(kGreen + 2, "Led 3", 4),
    numberField(kGreen + 3, "Led 4", 4),
    numberField(kGreen + 4, "Led 5", 4),
    numberField(kGreen + 5, "Led 6", 4),
    numberField(kGreen + 6, "Led 7", 4),
    numberField(kRed + 0, "Led 1", 4),
    numberField(kRed + 1, "Led 2", 4),
    numberField(kRed + 2, "Led 3", 4),
    numberField(kRed + 3, "Led 4", 4),
    numberField(kRed + 4, "Led 5", 4),
    numberField(kRed + 5, "Led 6", 4),
    numberField(kRed + 6, "Led 7", 4),
    readOnly(numberField(kMaximum, "max. Drehzahl", 5)),
    pushButton(kResetMaximum, "löschen"),
    shell::label(kSerial, "SerNr:"),
    shell::label(kVersion, "Version:"),
};

class ShiftPageModel : public DisplayPageModel {
 public:
  DisplayKind kind() const override { return DisplayKind::Shift; }
  std::span<const shell::ControlRow> controls() const override { return kRows; }

  void layout(QWidget* page, shell::DialogTable& t, QGridLayout* grid) override {
    static constexpr int32_t kModule[] = {kRead, kWrite, kLive, kTest};
    static constexpr int32_t kFile[] = {kLoad, kSave};
    static constexpr int32_t kGreens[] = {kGreen,     kGreen + 1, kGreen + 2, kGreen + 3,
                                          kGreen + 4, kGreen + 5, kGreen + 6};
    static constexpr int32_t kReds[] = {kRed,     kRed + 1, kRed + 2, kRed + 3,
                                        kRed + 4, kRed + 5, kRed + 6};
    static constexpr int32_t kSettings[] = {kDay, kNight, kFactor};
    grid->addWidget(ledGroup(page, t, kGreens, kReds), 0, 0, 3, 2);
    grid->addWidget(buttonGroup(page, t, QStringLiteral("Modul"), kModule, 2), 0, 2);
    grid->addWidget(buttonGroup(page, t, QStringLiteral("Datei"), kFile, 2), 1, 2);
    grid->addWidget(controlGroup(page, t, QStringLiteral("Einstellungen"), kSettings), 2, 2);
    auto* recorded = new QGroupBox(page);
    auto* row = new QHBoxLayout(recorded);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(t.caption(kMaximum));
    row->addWidget(t.control(kMaximum));
    row->addWidget(t.control(kResetMaximum));
    row->addStretch(1);
    grid->addWidget(recorded, 3, 0, 1, 3);
    grid->addWidget(t.control(kSerial), 4, 0, 1, 2);
    grid->addWidget(t.control(kVersion), 4, 2);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(3, 1);
  }

  void prepare(PageContext& c) override {
    auto* factor = c.table.get<QComboBox>(kFactor);
    for (const SpeedFactor& f : kSpeedFactors) factor->addItem(QString::fromUtf8(f.text));
    // The factor takes effect at once; the shown rpm values stay.
    QObject::connect(factor, &QComboBox::currentIndexChanged, c.page, [this, factor](int i) {
      if (i >= 0) s_.factorCode = kSpeedFactors[static_cast<size_t>(i)].code;
    });
    for (int i = 0; i < kShiftLeds; ++i) {
      for (int32_t id : {kGreen + i, kRed + i})
        checkEmptyOr(c, id, [this](int32_t v) { return shiftThresholdFits(v, s_.factorCode); });
    }
  }

  void show(shell::DialogTable& t) override {
    t.setNumber(kDay, s_.dayBrightness);
    t.setNumber(kNight, s_.nightBrightness);
    for (size_t i = 0; i < kSpeedFactors.size(); ++i) {
      if (kSpeedFactors[i].code == s_.factorCode)
        t.get<QComboBox>(kFactor)->setCurrentIndex(static_cast<int>(i));
    }
    for (int i = 0; i < kShiftLeds; ++i) {
      setNumberOrEmpty(t, kGreen + i, s_.green[i]);
      setNumberOrEmpty(t, kRed + i, s_.red[i]);
    }
    setOptional(t, kMaximum, s_.maximum);
    char serial[32] = "SerNr:";
    if (s_.serialNumber) std::snprintf(serial, sizeof serial, "SerNr: %07u", *s_.serialNumber);
    t.get<QLabel>(kSerial)->setText(QString::fromUtf8(serial));
  }

  void take(const shell::DialogTable& t) override {
    s_.dayBrightness = fieldOrZero(t, kDay);
    s_.nightBrightness = fieldOrZero(t, kNight);
    for (int i = 0; i < kShiftLeds; ++i) {
      s_.green[i] = fieldOrZero(t, kGreen + i);
      s_.red[i] = fieldOrZero(t, kRed + i);
    }
  }

  int32_t read(buslink::ModuleLink& link, shell::UserPrompts& prompts) override {
    return readShiftDisplay(link, prompts, s_);
  }
  int32_t write(buslink::ModuleLink& link, shell::UserPrompts& prompts) override {
    return writeShiftDisplay(link, prompts, s_);
  }
  bool test(PageContext& c) override {
    testShiftDisplay(c.link, c.prompts);
    return true;
  }
  int32_t load(const std::string& path) override { return loadShiftDisplayFile(s_, path); }
  int32_t save(const std::string& path) override { return saveShiftDisplayFile(s_, path); }
  uint16_t version() const override { return s_.version.value_or(0); }

  bool command(int32_t id, PageContext& c) override {
    if (id == kResetMaximum) {
      resetShiftMaximum(c.link, c.prompts, s_);
      setOptional(c.table, kMaximum, s_.maximum);
      return true;
    }
    if (id != kLive) return false;
    ShiftRpmWindow window(c.link, c.prompts, s_.factorCode);
    if (window.start() != 0) return true;
    LiveValueDialog dialog(window, QStringLiteral("Drehzahl-Anzeige"), QStringLiteral("1/min"),
                           c.prompts, c.page);
    dialog.exec();
    return true;
  }

 private:
  ShiftDisplaySettings s_;
};

}  // namespace

std::unique_ptr<DisplayPageModel> makeShiftPageModel() {
  return std::make_unique<ShiftPageModel>();
}

}  // namespace displays
