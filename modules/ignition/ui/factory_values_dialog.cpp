#include "modules/ignition/ui/factory_values_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <cstdio>

#include "modules/ignition/capabilities.h"
#include "modules/ignition/conversions.h"

namespace ignition {

namespace {

using D = FactoryValuesDialog;
using shell::readOnly, shell::textField;

// Fields sized for their digits; the type name as wide as the dialog allows.
constexpr shell::ControlRow kControls[] = {
    readOnly(textField(D::kLimiterStart, "Minimum", 6)),
    readOnly(textField(D::kLimiterStep, "Stufe", 6)),
    readOnly(textField(D::kSerial, "S-Nr", 8)),
    readOnly(textField(D::kPin, "PIN", 5)),
    readOnly(textField(D::kTypeCode, "Hw-Typ", 4)),
    readOnly(textField(D::kTypeName, "", 0)),
    shell::withFlags(shell::okButton(D::kCommandOk, "OK"), shell::kAutoDefault),
};

std::string formatted(const char* format, uint32_t value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, format, value);
  return buf;
}

}  // namespace

FactoryValueTexts factoryValueTexts(const IgnitionRecord& r) {
  FactoryValueTexts t;
  t.limiterStart = std::to_string(byteToRpm(r.HwLimiter[0]));
  t.limiterStep = std::to_string(byteToRpm(r.HwLimiter[1]));
  t.serial = formatted("%07u", r.SerienNummer);
  t.pin = formatted("%4x", r.pin);
  t.typeCode = std::to_string(hardwareTypeCode(r.HwTyp));
  t.typeName = hardwareTypeName(r.HwTyp);
  return t;
}

FactoryValuesDialog::FactoryValuesDialog(DialogStack& stack, const IgnitionRecord& record,
                                         QWidget* parent)
    : IgnitionDialog(stack, parent), table_(this, kControls, sender()) {
  setWindowTitle(QStringLiteral("Zündung Werks-Einstellungen"));
  const FactoryValueTexts t = factoryValueTexts(record);
  const std::pair<int32_t, const std::string*> shown[] = {
      {kLimiterStart, &t.limiterStart},
      {kLimiterStep, &t.limiterStep},
      {kSerial, &t.serial},
      {kPin, &t.pin},
      {kTypeCode, &t.typeCode},
      {kTypeName, &t.typeName},
  };
  for (const auto& [id, text] : shown) table_.field(id)->setText(QString::fromStdString(*text));

  auto* limiter = new QGroupBox(QStringLiteral("interner Limiter"), this);
  auto* limiterLayout = new QGridLayout(limiter);
  limiterLayout->addWidget(table_.caption(kLimiterStart), 0, 0);
  limiterLayout->addWidget(table_.control(kLimiterStart), 0, 1, Qt::AlignLeft);
  limiterLayout->addWidget(new QLabel(QStringLiteral("1/min"), limiter), 0, 2);
  limiterLayout->addWidget(table_.caption(kLimiterStep), 1, 0);
  limiterLayout->addWidget(table_.control(kLimiterStep), 1, 1, Qt::AlignLeft);
  limiterLayout->addWidget(new QLabel(QStringLiteral("1/min"), limiter), 1, 2);
  limiterLayout->setColumnStretch(3, 1);

  auto* layout = new QGridLayout(this);
  layout->addWidget(limiter, 0, 0, 1, 3);
  layout->addWidget(table_.caption(kSerial), 1, 0);
  layout->addWidget(table_.control(kSerial), 1, 1, Qt::AlignLeft);
  layout->addWidget(table_.caption(kPin), 2, 0);
  layout->addWidget(table_.control(kPin), 2, 1, Qt::AlignLeft);
  layout->addWidget(table_.caption(kTypeCode), 3, 0);
  layout->addWidget(table_.control(kTypeCode), 3, 1, Qt::AlignLeft);
  layout->addWidget(table_.control(kTypeName), 3, 2);
  layout->addWidget(table_.control(kCommandOk), 4, 2, Qt::AlignRight);
  layout->setColumnStretch(2, 1);
}

int32_t FactoryValuesDialog::handleCommand(int32_t command) {
  if (command == kCommandOk || command == kCommandCancel) {
    accept();
    return 0;
  }
  return 1;
}

}  // namespace ignition
