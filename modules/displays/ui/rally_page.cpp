#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "modules/displays/rally_timer.h"
#include "modules/displays/ui/display_dialogs.h"
#include "modules/displays/ui/page_models.h"

namespace displays {

namespace {

using namespace page_id;
using shell::numberField, shell::pushButton;

constexpr int32_t kEdit = kFirstOwn;
constexpr int32_t kDay = kFirstOwn + 1;
constexpr int32_t kNight = kFirstOwn + 2;
constexpr int32_t kSignal = kFirstOwn + 3;
constexpr int32_t kSeconds = kFirstOwn + 4;
constexpr int32_t kTargets = kFirstOwn + 5;
constexpr int32_t kRecorded = kFirstOwn + 6;
// Buttons the page carries without a function.
constexpr int32_t kIdle = kFirstOwn + 10;

constexpr shell::ControlRow kRows[] = {
    pushButton(kRead, "Lesen"),
    pushButton(kWrite, "Schreiben"),
    pushButton(kTest, "test"),
    pushButton(kEdit, "Bearbeiten"),
    pushButton(kIdle + 0, "Laden"),
    pushButton(kIdle + 1, "Speichern"),
    pushButton(kIdle + 2, "Lernen"),
    pushButton(kIdle + 3, "Löschen"),
    pushButton(kIdle + 4, "Einfügen"),
    pushButton(kIdle + 5, "Export"),
    numberField(kDay, "Tag", 3, {0, 255}),
    numberField(kNight, "Nacht", 3, {0, 255}),
    numberField(kSignal, "Signal vor Null", 2, {0, 99}),
    shell::label(kSeconds, "sek"),
    shell::list(kTargets, "Rundenzeit"),
    shell::list(kRecorded, "Rundendauer"),
    shell::label(kVersion, ""),
};

class RallyPageModel : public DisplayPageModel {
 public:
  DisplayKind kind() const override { return DisplayKind::Rally; }
  std::span<const shell::ControlRow> controls() const override { return kRows; }

  void layout(QWidget* page, shell::DialogTable& t, QGridLayout* grid) override {
    static constexpr int32_t kModule[] = {kRead, kWrite, kTest};
    static constexpr int32_t kFile[] = {kIdle, kIdle + 1, kIdle + 5};
    static constexpr int32_t kListButtons[] = {kEdit, kIdle + 2, kIdle + 3, kIdle + 4};
    static constexpr int32_t kBrightness[] = {kDay, kNight};
    auto* lists = new QGroupBox(page);
    auto* listGrid = new QGridLayout(lists);
    listGrid->setContentsMargins(4, 2, 4, 4);
    listGrid->addWidget(t.caption(kTargets), 0, 0);
    listGrid->addWidget(t.caption(kRecorded), 0, 1);
    fitListWidth(t.get<QListWidget>(kTargets), QStringLiteral("00 000.0"));
    fitListWidth(t.get<QListWidget>(kRecorded), QStringLiteral("000.0 000.0"));
    listGrid->addWidget(t.control(kTargets), 1, 0);
    listGrid->addWidget(t.control(kRecorded), 1, 1);
    auto* buttons = buttonGroup(page, t, QString(), kListButtons, 2);
    buttons->setFlat(true);
    listGrid->addWidget(buttons, 2, 0, 1, 2);
    grid->addWidget(lists, 0, 0, 5, 1);
    grid->addWidget(buttonGroup(page, t, QStringLiteral("Modul"), kModule, 2), 0, 1);
    grid->addWidget(buttonGroup(page, t, QStringLiteral("Datei"), kFile, 2), 1, 1);
    grid->addWidget(controlGroup(page, t, QStringLiteral("Helligkeit"), kBrightness), 2, 1);
    auto* signal = new QGroupBox(page);
    auto* row = new QHBoxLayout(signal);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(t.caption(kSignal));
    row->addWidget(t.control(kSignal));
    row->addWidget(t.control(kSeconds));
    grid->addWidget(signal, 3, 1);
    grid->addWidget(t.control(kVersion), 4, 1, Qt::AlignRight | Qt::AlignBottom);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(2, 1);
  }

  void show(shell::DialogTable& t) override {
    t.setNumber(kDay, s_.dayBrightness);
    t.setNumber(kNight, s_.nightBrightness);
    t.setNumber(kSignal, s_.signalBeforeZero);
    auto* targets = t.get<QListWidget>(kTargets);
    targets->clear();
    for (const RallyLapTime& lap : s_.targets)
      targets->addItem(QString::fromStdString(rallyTargetText(lap)));
    auto* recorded = t.get<QListWidget>(kRecorded);
    recorded->clear();
    for (const std::string& r : s_.recorded) recorded->addItem(QString::fromStdString(r));
  }

  void take(const shell::DialogTable& t) override {
    s_.dayBrightness = fieldOrZero(t, kDay);
    s_.nightBrightness = fieldOrZero(t, kNight);
    s_.signalBeforeZero = fieldOrZero(t, kSignal);
  }

  int32_t read(buslink::ModuleLink& link, shell::UserPrompts& prompts) override {
    return readRallyTimer(link, prompts, s_);
  }
  int32_t write(buslink::ModuleLink& link, shell::UserPrompts& prompts) override {
    return writeRallyTimer(link, prompts, s_);
  }
  bool test(PageContext& c) override {
    testRallyTimer(c.link, c.prompts);
    return true;
  }
  uint16_t version() const override { return s_.version; }

  bool command(int32_t id, PageContext& c) override {
    if (id >= kIdle && id < kIdle + 6) return true;
    if (id != kEdit) return false;
    auto* targets = c.table.get<QListWidget>(kTargets);
    const int row = targets->currentRow();
    if (row < 0 || targets->currentItem() == nullptr || !targets->currentItem()->isSelected())
      return true;
    take(c.table);
    RallyEditDialog dialog(s_.targets, static_cast<size_t>(row), c.prompts, c.page);
    dialog.exec();
    show(c.table);
    return true;
  }

 private:
  RallyTimerSettings s_;
};

}  // namespace

std::unique_ptr<DisplayPageModel> makeRallyPageModel() {
  return std::make_unique<RallyPageModel>();
}

}  // namespace displays
