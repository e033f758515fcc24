#include "shell/ui/qt_field_checks.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>

namespace shell {

FieldChecks::FieldChecks(QWidget* dialog) : QObject(dialog), dialog_(dialog) {}

void FieldChecks::add(QLineEdit* field, Passes passes, Report report) {
  entries_.push_back({field, std::move(passes), std::move(report)});
  field->installEventFilter(this);
}

void FieldChecks::exempt(QWidget* widget) {
  exempt_.emplace_back(widget);
}

const FieldChecks::Entry* FieldChecks::entryFor(const QObject* field) const {
  const auto it = std::find_if(entries_.begin(), entries_.end(),
                               [field](const Entry& e) { return e.field == field; });
  return it == entries_.end() ? nullptr : &*it;
}

bool FieldChecks::isExempt(const QWidget* widget) const {
  return widget != nullptr &&
         std::any_of(exempt_.begin(), exempt_.end(),
                     [widget](const QPointer<QWidget>& w) { return w == widget; });
}

bool FieldChecks::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    lastFocused_ = qobject_cast<QLineEdit*>(watched);
  } else if (event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    // Another window coming up (a message box, a menu) is no leaving of
    // the field; neither is the focus moving to an exempt button.
    const bool leaves = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                        !isExempt(QApplication::focusWidget());
    if (leaves) {
      // After the focus change has finished: a message box opened in the
      // middle of it would see the focus move under its feet.
      QPointer<QLineEdit> field = qobject_cast<QLineEdit*>(watched);
      QTimer::singleShot(0, this, [this, field] {
        if (field != nullptr && dialog_ != nullptr && dialog_->isVisible()) check(field);
      });
    }
  }
  return QObject::eventFilter(watched, event);
}

bool FieldChecks::check(QLineEdit* field) {
  const Entry* entry = entryFor(field);
  if (entry == nullptr || reporting_) return true;
  // A field the user cannot reach cannot be corrected and is not saved.
  if (!field->isEnabled()) {
    if (failing_ == field) failing_ = nullptr;
    return true;
  }
  if (failing_ != nullptr && failing_ != field) return true;
  if (entry->passes()) {
    if (failing_ == field) failing_ = nullptr;
    return true;
  }
  reporting_ = true;
  entry->report();
  reporting_ = false;
  failing_ = field;
  field->setFocus(Qt::OtherFocusReason);
  field->selectAll();
  return false;
}

bool FieldChecks::checkFocused() {
  QWidget* focus = QApplication::focusWidget();
  QLineEdit* field = nullptr;
  if (entryFor(focus) != nullptr) {
    field = static_cast<QLineEdit*>(focus);
  } else if (isExempt(focus)) {
    field = lastFocused_;
  }
  return field == nullptr || check(field);
}

bool FieldChecks::checkAll() {
  if (!checkFocused()) return false;
  // Every field on its own merit: the guard that spares other fields while
  // one is being corrected must not let them through unchecked here.
  for (const Entry& e : entries_) {
    if (!e.field->isEnabled()) continue;
    failing_ = nullptr;
    if (!check(e.field)) return false;
  }
  return true;
}

}  // namespace shell
