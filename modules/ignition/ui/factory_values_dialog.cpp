#include "modules/ignition/ui/factory_values_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>

#include "modules/ignition/capabilities.h"
#include "modules/ignition/conversions.h"
#include "shell/ui/qt_controls.h"

namespace ignition {

namespace {

// Sized for `characters` digits; 0 = as wide as the dialog allows.
QLineEdit* readOnlyField(QWidget* parent, int32_t id, const std::string& text, int characters) {
  auto* field = new QLineEdit(QString::fromStdString(text), parent);
  shell::setControlId(field, id);
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::NoFocus);
  if (characters > 0) {
    field->setFixedWidth(
        field->fontMetrics().horizontalAdvance(QString(characters, QLatin1Char('0'))) + 14);
  }
  return field;
}

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
    : IgnitionDialog(stack, parent) {
  setWindowTitle(QStringLiteral("Zündung Werks-Einstellungen"));
  const FactoryValueTexts t = factoryValueTexts(record);

  auto* limiter = new QGroupBox(QStringLiteral("interner Limiter"), this);
  auto* limiterLayout = new QGridLayout(limiter);
  limiterLayout->addWidget(new QLabel(QStringLiteral("Minimum"), limiter), 0, 0);
  limiterLayout->addWidget(readOnlyField(limiter, kLimiterStart, t.limiterStart, 6), 0, 1,
                           Qt::AlignLeft);
  limiterLayout->addWidget(new QLabel(QStringLiteral("1/min"), limiter), 0, 2);
  limiterLayout->addWidget(new QLabel(QStringLiteral("Stufe"), limiter), 1, 0);
  limiterLayout->addWidget(readOnlyField(limiter, kLimiterStep, t.limiterStep, 6), 1, 1,
                           Qt::AlignLeft);
  limiterLayout->addWidget(new QLabel(QStringLiteral("1/min"), limiter), 1, 2);
  limiterLayout->setColumnStretch(3, 1);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  shell::setControlId(ok, kCommandOk);
  ok->setDefault(true);
  sendOnClick(ok, kCommandOk);

  auto* layout = new QGridLayout(this);
  layout->addWidget(limiter, 0, 0, 1, 3);
  layout->addWidget(new QLabel(QStringLiteral("S-Nr"), this), 1, 0);
  layout->addWidget(readOnlyField(this, kSerial, t.serial, 8), 1, 1, Qt::AlignLeft);
  layout->addWidget(new QLabel(QStringLiteral("PIN"), this), 2, 0);
  layout->addWidget(readOnlyField(this, kPin, t.pin, 5), 2, 1, Qt::AlignLeft);
  layout->addWidget(new QLabel(QStringLiteral("Hw-Typ"), this), 3, 0);
  layout->addWidget(readOnlyField(this, kTypeCode, t.typeCode, 4), 3, 1, Qt::AlignLeft);
  layout->addWidget(readOnlyField(this, kTypeName, t.typeName, 0), 3, 2);
  layout->addWidget(ok, 4, 2, Qt::AlignRight);
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
