#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "modules/displays/small_displays.h"
#include "modules/displays/ui/page_models.h"

namespace displays {

namespace {

using namespace page_id;
using shell::checkBox, shell::numberField, shell::pushButton;

constexpr int32_t kDay = kFirstOwn;
constexpr int32_t kNight = kFirstOwn + 1;
constexpr int32_t kStartOnRelease = kFirstOwn + 2;
constexpr int32_t kLapModeBox = kFirstOwn + 3;
constexpr int32_t kCircumference = kFirstOwn + 4;
constexpr int32_t kMillimetres = kFirstOwn + 5;
constexpr int32_t kTimes = kFirstOwn + 6;
constexpr int32_t kDescending = kFirstOwn + 7;

constexpr shell::ControlRow kOilRows[] = {
    pushButton(kRead, "Lesen"),
    pushButton(kWrite, "Schreiben"),
    numberField(kDay, "Tag", 3, {0, 255}),
    numberField(kNight, "Nacht", 3, {0, 255}),
    shell::label(kVersion, ""),
};

constexpr shell::ControlRow kStopwatchRows[] = {
    pushButton(kRead, "Lesen"),
    pushButton(kWrite, "Schreiben"),
    numberField(kDay, "Tag", 3, {0, 255}),
    numberField(kNight, "Nacht", 3, {0, 255}),
    checkBox(kStartOnRelease, "Start durch Loslassen"),
    checkBox(kLapModeBox, "Runden-Modus"),
    numberField(kCircumference, "Radumfang", 5),
    shell::label(kMillimetres, "mm"),
    shell::list(kTimes, "letzte Zeiten"),
    shell::label(kDescending, "(absteigend)"),
    shell::label(kVersion, ""),
};

class OilPageModel : public DisplayPageModel {
 public:
  DisplayKind kind() const override { return DisplayKind::Oil; }
  std::span<const shell::ControlRow> controls() const override { return kOilRows; }
  void layout(QWidget* page, shell::DialogTable& t, QGridLayout* grid) override {
    static constexpr int32_t kModule[] = {kRead, kWrite};
    static constexpr int32_t kBrightness[] = {kDay, kNight};
    grid->addWidget(buttonGroup(page, t, QStringLiteral("Modul"), kModule), 0, 0);
    grid->addWidget(controlGroup(page, t, QStringLiteral("Helligkeit"), kBrightness), 1, 0);
    grid->addWidget(t.control(kVersion), 2, 0, Qt::AlignRight);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(1, 1);
  }
  void show(shell::DialogTable& t) override {
    t.setNumber(kDay, s_.dayBrightness);
    t.setNumber(kNight, s_.nightBrightness);
  }
  void take(const shell::DialogTable& t) override {
    s_.dayBrightness = fieldOrZero(t, kDay);
    s_.nightBrightness = fieldOrZero(t, kNight);
  }
  int32_t read(buslink::ModuleLink& link, shell::UserPrompts& prompts) override {
    return readOilDisplay(link, prompts, s_);
  }
  int32_t write(buslink::ModuleLink& link, shell::UserPrompts& prompts) override {
    return writeOilDisplay(link, prompts, s_);
  }
  uint16_t version() const override { return s_.version; }
  bool command(int32_t, PageContext&) override { return false; }

 private:
  OilDisplaySettings s_;
};

class StopwatchPageModel : public DisplayPageModel {
 public:
  DisplayKind kind() const override { return DisplayKind::Stopwatch; }
  std::span<const shell::ControlRow> controls() const override { return kStopwatchRows; }
  void layout(QWidget* page, shell::DialogTable& t, QGridLayout* grid) override {
    static constexpr int32_t kModule[] = {kRead, kWrite};
    static constexpr int32_t kBrightness[] = {kDay, kNight};
    static constexpr int32_t kBehaviour[] = {kStartOnRelease, kLapModeBox};
    grid->addWidget(buttonGroup(page, t, QStringLiteral("Modul"), kModule), 0, 0);
    grid->addWidget(controlGroup(page, t, QStringLiteral("Helligkeit"), kBrightness), 1, 0);
    grid->addWidget(controlGroup(page, t, QStringLiteral("Verhalten"), kBehaviour), 2, 0);
    auto* wheel = new QGroupBox(page);
    auto* row = new QGridLayout(wheel);
    row->addWidget(t.caption(kCircumference), 0, 0);
    row->addWidget(t.control(kCircumference), 0, 1);
    row->addWidget(t.control(kMillimetres), 0, 2);
    grid->addWidget(wheel, 3, 0);
    auto* times = new QGroupBox(page);
    auto* column = new QGridLayout(times);
    column->addWidget(t.caption(kTimes), 0, 0);
    column->addWidget(t.control(kDescending), 1, 0);
    auto* list = t.get<QListWidget>(kTimes);
    list->setFixedWidth(list->fontMetrics().horizontalAdvance(QStringLiteral("0000.00")) + 30);
    column->addWidget(list, 2, 0);
    grid->addWidget(times, 0, 1, 4, 1);
    grid->addWidget(t.control(kVersion), 4, 1, Qt::AlignRight);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(2, 1);
  }
  void show(shell::DialogTable& t) override {
    t.setNumber(kDay, s_.dayBrightness);
    t.setNumber(kNight, s_.nightBrightness);
    t.setChecked(kStartOnRelease, s_.behaviour & kStartOnRelease);
    t.setChecked(kLapModeBox, s_.behaviour & kLapMode);
    setOptional(t, kCircumference, s_.circumference);
    auto* list = t.get<QListWidget>(kTimes);
    list->clear();
    for (const std::string& time : s_.lastTimes) list->addItem(QString::fromStdString(time));
  }
  void take(const shell::DialogTable& t) override {
    s_.dayBrightness = fieldOrZero(t, kDay);
    s_.nightBrightness = fieldOrZero(t, kNight);
    uint8_t b = s_.behaviour & ~(kStartOnRelease | kLapMode);
    if (t.isChecked(kStartOnRelease)) b |= kStartOnRelease;
    if (t.isChecked(kLapModeBox)) b |= kLapMode;
    s_.behaviour = b;
    s_.circumference = optionalField(t, kCircumference);
  }
  int32_t read(buslink::ModuleLink& link, shell::UserPrompts& prompts) override {
    return readStopwatch(link, prompts, s_);
  }
  int32_t write(buslink::ModuleLink& link, shell::UserPrompts& prompts) override {
    return writeStopwatch(link, prompts, s_);
  }
  uint16_t version() const override { return s_.version; }
  bool command(int32_t id, PageContext&) override {
    return id == kStartOnRelease || id == kLapModeBox;
  }

 private:
  StopwatchSettings s_;
};

}  // namespace

std::unique_ptr<DisplayPageModel> makeOilPageModel() {
  return std::make_unique<OilPageModel>();
}

std::unique_ptr<DisplayPageModel> makeStopwatchPageModel() {
  return std::make_unique<StopwatchPageModel>();
}

}  // namespace displays
