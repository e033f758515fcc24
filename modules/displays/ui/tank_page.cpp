#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "modules/displays/tank_display.h"
#include "modules/displays/ui/display_dialogs.h"
#include "modules/displays/ui/page_models.h"

namespace displays {

namespace {

using namespace page_id;
using shell::numberField, shell::pushButton, shell::radioButton, shell::readOnly;

constexpr int32_t kTeach = kFirstOwn;
constexpr int32_t kEdit = kFirstOwn + 1;
constexpr int32_t kInsert = kFirstOwn + 2;
constexpr int32_t kDelete = kFirstOwn + 3;
constexpr int32_t kResetMinMax = kFirstOwn + 4;
constexpr int32_t kGauge = kFirstOwn + 5;
constexpr int32_t kDay = kFirstOwn + 6;
constexpr int32_t kNight = kFirstOwn + 7;
constexpr int32_t kLower = kFirstOwn + 8;
constexpr int32_t kUpper = kFirstOwn + 9;
constexpr int32_t kLowOff = kFirstOwn + 10;
constexpr int32_t kLowOn = kFirstOwn + 11;
constexpr int32_t kRefresh = kFirstOwn + 12;
constexpr int32_t kMinimum = kFirstOwn + 13;
constexpr int32_t kMaximum = kFirstOwn + 14;
constexpr int32_t kSensor1 = kFirstOwn + 15;
constexpr int32_t kSensor2 = kFirstOwn + 16;
constexpr int32_t kRefreshUnit = kFirstOwn + 17;

constexpr shell::ControlRow kRows[] = {
    pushButton(kRead, "Lesen"),
    pushButton(kWrite, "Schreiben"),
    pushButton(kTeach, "Lernen"),
    pushButton(kTest, "Test"),
    pushButton(kLoad, "Laden"),
    pushButton(kSave, "Speichern"),
    shell::list(kSensor1, "Sensor 1"),
    shell::list(kSensor2, "Sensor 2"),
    pushButton(kEdit, "Bearbeiten"),
    pushButton(kInsert, "Einfügen"),
    pushButton(kDelete, "Löschen"),
    numberField(kDay, "Tag", 3, {0, 255}),
    numberField(kNight, "Nacht", 3, {0, 255}),
    numberField(kLower, "unterer", 3, shell::kCheckedByRule),
    numberField(kUpper, "oberer", 3, shell::kCheckedByRule),
    radioButton(kLowOff, "low aus", "low"),
    radioButton(kLowOn, "low ein", "low"),
    pushButton(kGauge, "Ausgang"),
    numberField(kRefresh, "Refreshzeit", 2, {1, 255}),
    shell::label(kRefreshUnit, "x 0,1 sec"),
    readOnly(numberField(kMinimum, "min", 3)),
    readOnly(numberField(kMaximum, "max", 3)),
    pushButton(kResetMinMax, "Löschen"),
    shell::label(kVersion, ""),
};

// The list that last got the focus is the one the point buttons act on;
// focusing one clears the selection in the other.
class CurrentList : public QObject {
 public:
  CurrentList(QListWidget* a, QListWidget* b) : lists_{a, b} {
    for (int i = 0; i < 2; ++i) {
      lists_[i]->installEventFilter(this);
      // A selection made without the focus (by the keyboard of another
      // window, or by a test) counts as well.
      connect(lists_[i], &QListWidget::itemSelectionChanged, this, [this, i] {
        if (!lists_[i]->selectedItems().isEmpty()) choose(i);
      });
    }
  }
  int current = -1;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) choose(watched == lists_[0] ? 0 : 1);
    return false;
  }

 private:
  void choose(int list) {
    current = list;
    lists_[1 - list]->clearSelection();
  }

  std::array<QListWidget*, 2> lists_;
};

class TankPageModel : public DisplayPageModel {
 public:
  DisplayKind kind() const override { return DisplayKind::Tank; }
  std::span<const shell::ControlRow> controls() const override { return kRows; }

  void layout(QWidget* page, shell::DialogTable& t, QGridLayout* grid) override {
    static constexpr int32_t kModule[] = {kRead, kWrite, kTeach, kTest};
    static constexpr int32_t kFile[] = {kLoad, kSave};
    static constexpr int32_t kPoints[] = {kEdit, kInsert, kDelete};
    static constexpr int32_t kBrightness[] = {kDay, kNight};
    static constexpr int32_t kPump[] = {kLower, kLowOff, kGauge, kUpper, kLowOn};
    static constexpr int32_t kRecorded[] = {kMinimum, kMaximum, kResetMinMax};
    auto* lists = new QGroupBox(QStringLiteral("Tankgeber"), page);
    auto* listGrid = new QGridLayout(lists);
    listGrid->setContentsMargins(4, 2, 4, 4);
    listGrid->setSpacing(3);
    listGrid->addWidget(t.caption(kSensor1), 0, 0);
    listGrid->addWidget(t.caption(kSensor2), 0, 1);
    for (int32_t id : {kSensor1, kSensor2}) {
      fitListWidth(t.get<QListWidget>(id), QStringLiteral("000 L 0000"));
      listGrid->addWidget(t.control(id), 1, id == kSensor1 ? 0 : 1);
    }
    auto* pointButtons = buttonGroup(page, t, QString(), kPoints, 2);
    pointButtons->setFlat(true);
    listGrid->addWidget(pointButtons, 2, 0, 1, 2);
    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(lists, 1);

    auto* refresh = new QGroupBox(page);
    auto* refreshRow = new QHBoxLayout(refresh);
    refreshRow->setContentsMargins(4, 2, 4, 2);
    refreshRow->addWidget(t.caption(kRefresh));
    refreshRow->addWidget(t.control(kRefresh));
    refreshRow->addWidget(t.control(kRefreshUnit));
    refreshRow->addStretch(1);
    left->addWidget(refresh);
    left->addWidget(controlGroup(page, t, QString(), kRecorded, 2));
    grid->addLayout(left, 0, 0, 5, 1);

    grid->addWidget(buttonGroup(page, t, QStringLiteral("Modul"), kModule, 2), 0, 1);
    grid->addWidget(buttonGroup(page, t, QStringLiteral("Datei"), kFile, 2), 1, 1);
    grid->addWidget(controlGroup(page, t, QStringLiteral("Pumpe"), kPump, 2), 2, 1);
    grid->addWidget(controlGroup(page, t, QStringLiteral("Helligkeit"), kBrightness, 2), 3, 1,
                    Qt::AlignTop);
    grid->addWidget(t.control(kVersion), 4, 1, Qt::AlignRight | Qt::AlignBottom);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(2, 1);
  }

  void prepare(PageContext& c) override {
    shell::DialogTable& t = c.table;
    current_ = new CurrentList(t.get<QListWidget>(kSensor1), t.get<QListWidget>(kSensor2));
    current_->setParent(c.page);
    t.setRule(kLower, [&t](int32_t v) { return v >= 0 && v <= fieldOrZero(t, kUpper); });
    t.setRule(kUpper, [&t](int32_t v) { return v >= fieldOrZero(t, kLower) && v <= 255; });
  }

  void show(shell::DialogTable& t) override {
    t.setNumber(kDay, s_.dayBrightness);
    t.setNumber(kNight, s_.nightBrightness);
    t.setNumber(kLower, s_.lowerLimit);
    t.setNumber(kUpper, s_.upperLimit);
    t.setChecked(kLowOn, s_.lowOn);
    t.setChecked(kLowOff, !s_.lowOn);
    t.setNumber(kRefresh, s_.refreshTime);
    setOptional(t, kMinimum, s_.minimum);
    setOptional(t, kMaximum, s_.maximum);
    for (int i = 0; i < 2; ++i) {
      auto* list = t.get<QListWidget>(i == 0 ? kSensor1 : kSensor2);
      list->clear();
      for (const std::string& p : s_.sensors[i]) list->addItem(QString::fromStdString(p));
    }
  }

  void take(const shell::DialogTable& t) override {
    s_.dayBrightness = fieldOrZero(t, kDay);
    s_.nightBrightness = fieldOrZero(t, kNight);
    s_.lowerLimit = fieldOrZero(t, kLower);
    s_.upperLimit = fieldOrZero(t, kUpper);
    s_.lowOn = t.isChecked(kLowOn);
    s_.refreshTime = fieldOrZero(t, kRefresh);
  }

  int32_t read(buslink::ModuleLink& link, shell::UserPrompts& prompts) override {
    return readTankDisplay(link, prompts, s_);
  }
  int32_t write(buslink::ModuleLink& link, shell::UserPrompts& prompts) override {
    return writeTankDisplay(link, prompts, s_);
  }
  bool test(PageContext& c) override {
    testTankDisplay(c.link, c.prompts);
    return true;
  }
  int32_t load(const std::string& path) override { return loadTankDisplayFile(s_, path); }
  int32_t save(const std::string& path) override { return saveTankDisplayFile(s_, path); }
  uint16_t version() const override { return s_.version; }

  bool command(int32_t id, PageContext& c) override {
    shell::DialogTable& t = c.table;
    switch (id) {
      case kEdit:
      case kInsert:
      case kDelete:
        pointCommand(id, c);
        return true;
      case kResetMinMax:
        resetTankMinMax(c.link, c.prompts, s_);
        show(t);
        return true;
      case kTeach: {
        take(t);
        TankTeachIn teach(c.link, c.prompts, s_);
        if (teach.start() == 0) {
          show(t);
          TankTeachDialog dialog(teach, c.prompts, c.page);
          dialog.exec();
        }
        show(t);
        return true;
      }
      case kGauge: {
        take(t);
        TankGaugeTeachIn gauge(c.link, c.prompts, s_);
        if (gauge.start() == 0) {
          TankGaugeDialog dialog(gauge, c.prompts, c.page);
          dialog.exec();
        }
        return true;
      }
      default:
        return false;
    }
  }

  TankDisplaySettings& settings() { return s_; }

 private:
  void pointCommand(int32_t id, PageContext& c) {
    if (current_ == nullptr || current_->current < 0) return;
    const int sensor = current_->current;
    auto* list = c.table.get<QListWidget>(sensor == 0 ? kSensor1 : kSensor2);
    const int row = list->currentRow();
    const bool selected = row >= 0 && list->currentItem() && list->currentItem()->isSelected();
    take(c.table);
    if (id == kDelete) {
      if (!selected) return;
      s_.sensors[sensor].erase(s_.sensors[sensor].begin() + row);
      current_->current = -1;
    } else {
      if (id == kEdit && !selected) return;
      std::optional<size_t> index;
      if (id == kEdit) index = static_cast<size_t>(row);
      TankPointDialog dialog(s_.sensors[sensor], index, c.prompts, c.page);
      dialog.exec();
    }
    show(c.table);
  }

  TankDisplaySettings s_;
  CurrentList* current_ = nullptr;
};

}  // namespace

std::unique_ptr<DisplayPageModel> makeTankPageModel() {
  return std::make_unique<TankPageModel>();
}

}  // namespace displays
