#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "modules/displays/display_operation.h"
#include "modules/displays/gear_display.h"
#include "modules/displays/ui/display_dialogs.h"
#include "modules/displays/ui/page_models.h"

namespace displays {

namespace {

using namespace page_id;
using shell::checkBox, shell::comboBox, shell::numberField, shell::pushButton;

constexpr int32_t kTeach = kFirstOwn;
constexpr int32_t kReverse = kFirstOwn + 1;
constexpr int32_t kNeutral = kFirstOwn + 2;
constexpr int32_t kGear = kFirstOwn + 3;  // eight fields
constexpr int32_t kReverseSymbol = kFirstOwn + 11;
constexpr int32_t kNeutralSymbol = kFirstOwn + 12;
constexpr int32_t kReference = kFirstOwn + 13;
constexpr int32_t kDay = kFirstOwn + 14;
constexpr int32_t kNight = kFirstOwn + 15;

constexpr shell::ControlRow kRows[] = {
    pushButton(kRead, "Lesen"),
    pushButton(kWrite, "Schreiben"),
    pushButton(kTeach, "Lernen"),
    pushButton(kTest, "Test"),
    pushButton(kLoad, "Laden"),
    pushButton(kSave, "Speichern"),
    numberField(kReverse, "Rückwärts", 3),
    numberField(kNeutral, "Neutral", 3),
    numberField(kGear + 0, "Gang 1", 3),
    numberField(kGear + 1, "Gang 2", 3),
    numberField(kGear + 2, "Gang 3", 3),
    numberField(kGear + 3, "Gang 4", 3),
    numberField(kGear + 4, "Gang 5", 3),
    numberField(kGear + 5, "Gang 6", 3),
    numberField(kGear + 6, "Gang 7", 3),
    numberField(kGear + 7, "Gang 8", 3),
    comboBox(kReverseSymbol, "Symbol Rück."),
    comboBox(kNeutralSymbol, "Symbol Neut."),
    checkBox(kReference, "Referenz intern "),
    numberField(kDay, "Tag", 3, {0, 255}),
    numberField(kNight, "Nacht", 3, {0, 255}),
    shell::label(kVersion, ""),
};

template <size_t N>
int indexOf(const std::array<GearSymbol, N>& list, uint8_t code) {
  for (size_t i = 0; i < N; ++i) {
    if (list[i].code == code) return static_cast<int>(i);
  }
  return 0;
}

class GearPageModel : public DisplayPageModel {
 public:
  DisplayKind kind() const override { return DisplayKind::Gear; }
  std::span<const shell::ControlRow> controls() const override { return kRows; }

  void layout(QWidget* page, shell::DialogTable& t, QGridLayout* grid) override {
    static constexpr int32_t kModule[] = {kRead, kWrite, kTeach, kTest};
    static constexpr int32_t kFile[] = {kLoad, kSave};
    static constexpr int32_t kValues[] = {kReverse,  kNeutral,  kGear,     kGear + 1, kGear + 2,
                                          kGear + 3, kGear + 4, kGear + 5, kGear + 6, kGear + 7};
    static constexpr int32_t kSymbols[] = {kReverseSymbol, kNeutralSymbol, kReference};
    static constexpr int32_t kBrightness[] = {kDay, kNight};
    grid->addWidget(buttonGroup(page, t, QStringLiteral("Modul"), kModule), 0, 0, 1, 2);
    grid->addWidget(buttonGroup(page, t, QStringLiteral("Datei"), kFile), 1, 0, 1, 2);
    grid->addWidget(controlGroup(page, t, QStringLiteral("Schaltgeber"), kValues, 2), 2, 0, 2, 1);
    grid->addWidget(controlGroup(page, t, QStringLiteral("Symbole"), kSymbols), 2, 1);
    grid->addWidget(controlGroup(page, t, QStringLiteral("Helligkeit"), kBrightness), 3, 1);
    grid->addWidget(t.control(kVersion), 4, 1, Qt::AlignRight | Qt::AlignBottom);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(2, 1);
  }

  void prepare(PageContext& c) override {
    for (const GearSymbol& s : kReverseSymbols)
      c.table.get<QComboBox>(kReverseSymbol)->addItem(QString::fromUtf8(s.text));
    for (const GearSymbol& s : kNeutralSymbols)
      c.table.get<QComboBox>(kNeutralSymbol)->addItem(QString::fromUtf8(s.text));
    // A value of 256 or more is refused; an empty field passes.
    for (int32_t id : {kReverse, kNeutral, kGear, kGear + 1, kGear + 2, kGear + 3, kGear + 4,
                       kGear + 5, kGear + 6, kGear + 7})
      checkEmptyOr(c, id, [](int32_t v) { return v >= 0 && v <= 255; });
  }

  void show(shell::DialogTable& t) override {
    setOptional(t, kReverse, s_.reverseValue);
    setOptional(t, kNeutral, s_.neutralValue);
    for (int g = 0; g < kGears; ++g) setOptional(t, kGear + g, s_.gearValues[g]);
    t.get<QComboBox>(kReverseSymbol)->setCurrentIndex(indexOf(kReverseSymbols, s_.reverseSymbol));
    t.get<QComboBox>(kNeutralSymbol)->setCurrentIndex(indexOf(kNeutralSymbols, s_.neutralSymbol));
    t.setChecked(kReference, s_.internalReference);
    t.setNumber(kDay, s_.dayBrightness);
    t.setNumber(kNight, s_.nightBrightness);
  }

  void take(const shell::DialogTable& t) override {
    s_.reverseValue = optionalField(t, kReverse);
    s_.neutralValue = optionalField(t, kNeutral);
    for (int g = 0; g < kGears; ++g) s_.gearValues[g] = optionalField(t, kGear + g);
    const int r = std::max(0, t.get<QComboBox>(kReverseSymbol)->currentIndex());
    const int n = std::max(0, t.get<QComboBox>(kNeutralSymbol)->currentIndex());
    s_.reverseSymbol = kReverseSymbols[static_cast<size_t>(r)].code;
    s_.neutralSymbol = kNeutralSymbols[static_cast<size_t>(n)].code;
    s_.internalReference = t.isChecked(kReference);
    s_.dayBrightness = fieldOrZero(t, kDay);
    s_.nightBrightness = fieldOrZero(t, kNight);
  }

  int32_t read(buslink::ModuleLink& link, shell::UserPrompts& prompts) override {
    return readGearDisplay(link, prompts, s_);
  }
  int32_t write(buslink::ModuleLink& link, shell::UserPrompts& prompts) override {
    return writeGearDisplay(link, prompts, s_);
  }
  bool test(PageContext& c) override {
    testGearDisplay(c.link, c.prompts);
    return true;
  }
  int32_t load(const std::string& path) override { return loadGearDisplayFile(s_, path); }
  int32_t save(const std::string& path) override { return saveGearDisplayFile(s_, path); }
  uint16_t version() const override { return s_.version; }

  bool command(int32_t id, PageContext& c) override {
    if (id != kTeach) return false;
    take(c.table);
    GearTeachIn teach(c.link, c.prompts, s_);
    if (teach.start() != 0) return true;
    show(c.table);
    GearTeachDialog dialog(teach, c.prompts, c.page);
    dialog.exec();
    show(c.table);
    return true;
  }

 private:
  GearDisplaySettings s_;
};

}  // namespace

std::unique_ptr<DisplayPageModel> makeGearPageModel() {
  return std::make_unique<GearPageModel>();
}

}  // namespace displays
