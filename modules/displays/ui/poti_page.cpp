#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "modules/displays/poti_display.h"
#include "modules/displays/ui/display_dialogs.h"
#include "modules/displays/ui/page_models.h"

namespace displays {

namespace {

using namespace page_id;
using shell::checkBox, shell::numberField, shell::pushButton;

constexpr int32_t kLive = kFirstOwn;
constexpr int32_t kDay = kFirstOwn + 1;
constexpr int32_t kNight = kFirstOwn + 2;
constexpr int32_t kReference = kFirstOwn + 3;
constexpr int32_t kSwitchOff = kFirstOwn + 4;
constexpr int32_t kSeconds = kFirstOwn + 5;
constexpr int32_t kGreen = kFirstOwn + 10;
constexpr int32_t kRed = kFirstOwn + 20;

constexpr shell::ControlRow kRows[] = {
    pushButton(kRead, "Lesen"),
    pushButton(kWrite, "Schreiben"),
    pushButton(kLive, "Wert"),
    pushButton(kTest, "Test"),
    pushButton(kLoad, "Laden"),
    pushButton(kSave, "Speichern"),
    numberField(kDay, "Tag", 3, {0, 255}),
    numberField(kNight, "Nacht", 3, {0, 255}),
    checkBox(kReference, "Referenz intern "),
    numberField(kSwitchOff, "Ausschalten nach", 3),
    shell::label(kSeconds, "sek"),
    numberField(kGreen + 0, "Led 1", 3),
    numberField(kGreen + 1, "Led 2", 3),
    numberField(kGreen + 2, "Led 3", 3),
    numberField(kGreen + 3, "Led 4", 3),
    numberField(kGreen + 4, "Led 5", 3),
    numberField(kGreen + 5, "Led 6", 3),
    numberField(kGreen + 6, "Led 7", 3),
    numberField(kRed + 0, "Led 1", 3),
    numberField(kRed + 1, "Led 2", 3),
    numberField(kRed + 2, "Led 3", 3),
    numberField(kRed + 3, "Led 4", 3),
    numberField(kRed + 4, "Led 5", 3),
    numberField(kRed + 5, "Led 6", 3),
    numberField(kRed + 6, "Led 7", 3),
    shell::label(kVersion, ""),
};

class PotiPageModel : public DisplayPageModel {
 public:
  DisplayKind kind() const override { return DisplayKind::Poti; }
  std::span<const shell::ControlRow> controls() const override { return kRows; }

  void layout(QWidget* page, shell::DialogTable& t, QGridLayout* grid) override {
    static constexpr int32_t kModule[] = {kRead, kWrite, kLive, kTest};
    static constexpr int32_t kFile[] = {kLoad, kSave};
    static constexpr int32_t kGreens[] = {kGreen,     kGreen + 1, kGreen + 2, kGreen + 3,
                                          kGreen + 4, kGreen + 5, kGreen + 6};
    static constexpr int32_t kReds[] = {kRed,     kRed + 1, kRed + 2, kRed + 3,
                                        kRed + 4, kRed + 5, kRed + 6};
    static constexpr int32_t kSettings[] = {kDay, kNight, kReference};
    grid->addWidget(ledGroup(page, t, kGreens, kReds), 0, 0, 3, 2);
    grid->addWidget(buttonGroup(page, t, QStringLiteral("Modul"), kModule, 2), 0, 2);
    grid->addWidget(buttonGroup(page, t, QStringLiteral("Datei"), kFile, 2), 1, 2);
    auto* settings = controlGroup(page, t, QStringLiteral("Einstellungen"), kSettings);
    auto* off = new QHBoxLayout;
    off->addWidget(t.caption(kSwitchOff));
    off->addWidget(t.control(kSwitchOff));
    off->addWidget(t.control(kSeconds));
    static_cast<QGridLayout*>(settings->layout())->addLayout(off, 3, 0, 1, 2);
    grid->addWidget(settings, 2, 2);
    grid->addWidget(t.control(kVersion), 3, 2, Qt::AlignRight);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(3, 1);
  }

  void prepare(PageContext& c) override {
    auto byte = [](int32_t v) { return v >= 0 && v <= 255; };
    checkEmptyOr(c, kSwitchOff, byte);
    for (int i = 0; i < kPotiLeds; ++i) {
      checkEmptyOr(c, kGreen + i, byte);
      checkEmptyOr(c, kRed + i, byte);
    }
  }

  void show(shell::DialogTable& t) override {
    t.setNumber(kDay, s_.dayBrightness);
    t.setNumber(kNight, s_.nightBrightness);
    t.setChecked(kReference, s_.internalReference);
    setOptional(t, kSwitchOff, s_.switchOffTime);
    for (int i = 0; i < kPotiLeds; ++i) {
      setNumberOrEmpty(t, kGreen + i, s_.green[i]);
      setNumberOrEmpty(t, kRed + i, s_.red[i]);
    }
  }

  void take(const shell::DialogTable& t) override {
    s_.dayBrightness = fieldOrZero(t, kDay);
    s_.nightBrightness = fieldOrZero(t, kNight);
    s_.internalReference = t.isChecked(kReference);
    s_.switchOffTime = optionalField(t, kSwitchOff);
    for (int i = 0; i < kPotiLeds; ++i) {
      s_.green[i] = fieldOrZero(t, kGreen + i);
      s_.red[i] = fieldOrZero(t, kRed + i);
    }
  }

  int32_t read(buslink::ModuleLink& link, shell::UserPrompts& prompts) override {
    return readPotiDisplay(link, prompts, s_);
  }
  int32_t write(buslink::ModuleLink& link, shell::UserPrompts& prompts) override {
    return writePotiDisplay(link, prompts, s_);
  }
  bool test(PageContext& c) override {
    testPotiDisplay(c.link, c.prompts);
    return true;
  }
  int32_t load(const std::string& path) override { return loadPotiDisplayFile(s_, path); }
  int32_t save(const std::string& path) override { return savePotiDisplayFile(s_, path); }
  uint16_t version() const override { return s_.version; }

  bool command(int32_t id, PageContext& c) override {
    if (id != kLive) return false;
    PotiValueWindow window(c.link, c.prompts);
    if (window.start() != 0) return true;
    LiveValueDialog dialog(window, QStringLiteral("Messwert-Anzeige"), QString(), c.prompts,
                           c.page);
    dialog.exec();
    return true;
  }

 private:
  PotiDisplaySettings s_;
};

}  // namespace

std::unique_ptr<DisplayPageModel> makePotiPageModel() {
  return std::make_unique<PotiPageModel>();
}

}  // namespace displays
