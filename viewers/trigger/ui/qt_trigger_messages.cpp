#include "viewers/trigger/ui/qt_trigger_messages.h"

#include <QMessageBox>

namespace trigger {

void QtTriggerMessages::showTitled(const std::string& title, const std::string& text,
                                   viewers::MessageIcon icon) {
  const QMessageBox::Icon shown = icon == viewers::MessageIcon::kError ? QMessageBox::Critical
                                  : icon == viewers::MessageIcon::kInformation
                                      ? QMessageBox::Information
                                      : QMessageBox::NoIcon;
  QMessageBox box(shown, QString::fromStdString(title), viewers::messageText(text), QMessageBox::Ok,
                  owner_.data());
  box.exec();
}

}  // namespace trigger
