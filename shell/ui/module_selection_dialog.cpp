#include "shell/ui/module_selection_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/ui/qt_controls.h"

namespace shell {

namespace {

constexpr ModuleChoice kFirst[] = {
    {301, "Zündung"},      {302, "Balken-Anzeige"}, {303, "Gang-Anzeige"},
    {304, "Tank-Anzeige"}, {305, "Schalt-Anzeige"}, {306, "Lambda-Anzeige"},
    {307, "ZOR"},          {308, "Rpm-Logger"},     {309, "Seriell-Logger"},
};

constexpr ModuleChoice kMore[] = {
    {310, "Öl-Anzeige"},    {311, "Stopuhr"},         {312, "Poti-Anzeige"},
    {313, "Rallye-Timer"},  {314, "Car-Logger"},      {315, "Instrumenten-Angleich"},
    {316, "Motor-Steller"}, {317, "Warmlauf-Regler"},
};

}  // namespace

std::span<const ModuleChoice> moduleChoicesFirst() {
  return kFirst;
}
std::span<const ModuleChoice> moduleChoicesMore() {
  return kMore;
}

ModuleSelectionDialog::ModuleSelectionDialog(const QString& title,
                                             std::span<const ModuleChoice> choices, bool withMore,
                                             std::function<void(int32_t)> send, QWidget* parent)
    : QDialog(parent), choices_(choices) {
  setWindowTitle(title);
  auto* layout = new QVBoxLayout(this);
  for (const ModuleChoice& choice : choices_) {
    auto* box = new QCheckBox(QString::fromUtf8(choice.caption), this);
    setControlId(box, choice.controlId);
    layout->addWidget(box);
  }
  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  setControlId(ok, kCommandOk);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [send] { send(kCommandOk); });
  buttons->addWidget(ok);
  if (withMore) {
    auto* more = new QPushButton(QStringLiteral("Weitere"), this);
    setControlId(more, kCommandMore);
    more->setAutoDefault(false);
    connect(more, &QPushButton::clicked, this, [send] { send(kCommandMore); });
    buttons->addWidget(more);
  }
  layout->addLayout(buttons);
}

void ModuleSelectionDialog::setCheckedBits(uint32_t bits) {
  for (size_t i = 0; i < choices_.size(); ++i) {
    setCheck(this, choices_[i].controlId, static_cast<int32_t>((bits >> i) & 1u));
  }
}

uint32_t ModuleSelectionDialog::checkedBits() const {
  uint32_t bits = 0;
  for (size_t i = 0; i < choices_.size(); ++i) {
    if (isChecked(this, choices_[i].controlId) != 0) bits |= 1u << i;
  }
  return bits;
}

}  // namespace shell
