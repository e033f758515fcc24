#include "viewers/common/ui/qt_viewer_messages.h"

#include <QMessageBox>

namespace viewers {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kError:
      return QMessageBox::Critical;
    case MessageIcon::kQuestion:
      return QMessageBox::Question;
    case MessageIcon::kInformation:
      return QMessageBox::Information;
    case MessageIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QString messageText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

QtViewerMessages::QtViewerMessages(std::string productName, QWidget* owner)
    : productName_(std::move(productName)), owner_(owner) {}

void QtViewerMessages::show(const std::string& text, MessageIcon icon) {
  QMessageBox box(qtIcon(icon), QString::fromStdString(productName_), messageText(text),
                  QMessageBox::Ok, owner_.data());
  box.exec();
}

bool QtViewerMessages::askYesNo(const std::string& text) {
  QMessageBox box(QMessageBox::Question, QString::fromStdString(productName_), messageText(text),
                  QMessageBox::Yes | QMessageBox::No, owner_.data());
  return box.exec() == QMessageBox::Yes;
}

}  // namespace viewers
