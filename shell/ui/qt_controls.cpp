#include "shell/ui/qt_controls.h"

#include <QAbstractButton>
#include <QVariant>
#include <QWidget>

namespace shell {

namespace {
constexpr char kControlIdProperty[] = "tunvexaControlId";
}

void setControlId(QWidget* control, int32_t id) {
  control->setProperty(kControlIdProperty, id);
}

int32_t controlId(const QWidget* control) {
  const QVariant id = control->property(kControlIdProperty);
  return id.isValid() ? id.toInt() : 0;
}

QWidget* findControl(const QWidget* dialog, int32_t id) {
  if (dialog == nullptr || id == 0) return nullptr;
  for (QWidget* child : dialog->findChildren<QWidget*>()) {
    if (controlId(child) == id) return child;
  }
  return nullptr;
}

void setCheck(QWidget* dialog, int32_t control, int32_t flag) {
  if (auto* box = qobject_cast<QAbstractButton*>(findControl(dialog, control))) {
    box->setChecked(flag != 0);
  }
}

int32_t isChecked(const QWidget* dialog, int32_t control) {
  auto* box = qobject_cast<QAbstractButton*>(findControl(dialog, control));
  return box != nullptr && box->isChecked() ? 1 : 0;
}

}  // namespace shell
