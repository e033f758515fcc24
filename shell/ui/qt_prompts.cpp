#include "shell/ui/qt_prompts.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QThread>

#include "link/module_link.h"
#include "shell/ui/qt_text.h"
#include "shell/ui/tab_host_window.h"
#include "shell/ui/text_input_dialog.h"
#include "shell/ui/wait_window.h"
#include "texts/text_ids.h"

namespace shell {

namespace {

constexpr int32_t kKeyTextInput = 500;

QMessageBox::StandardButton runBox(QWidget* owner, const QString& text,
                                   QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::NoIcon, qtText(texts::kTextWindowTitle), text, buttons, owner);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

// The operations run on this thread and keep it busy from the first frame to
// the last; between frames the windows get their paint (the bar, the main
// window behind it). No timer fires and no input is taken meanwhile, so no
// page can start link traffic in the middle of another operation's frames;
// the input waits in the queue as it would for a busy program.
void letWindowsPaint() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                  QEventLoop::ExcludeSocketNotifiers |
                                  QEventLoop::X11ExcludeTimers);
}

}  // namespace

QtPrompts::QtPrompts(buslink::ModuleLink& link) : link_(link) {}

QtPrompts::~QtPrompts() {
  link_.setProgressHook({});
  delete waitWindow_.data();
}

QWidget* QtPrompts::owner() const {
  return host_;
}

void QtPrompts::showMessage(int32_t textId) {
  runBox(owner(), qtText(textId), QMessageBox::Ok);
}

bool QtPrompts::askYesNo(int32_t textId) {
  return runBox(owner(), qtText(textId), QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void QtPrompts::showNumber(int32_t value) {
  runBox(owner(), QString::number(value), QMessageBox::Ok);
}

bool QtPrompts::askText(int32_t promptTextId, std::string& text, size_t size) {
  TextInputDialog dialog(qtText(promptTextId), QString::fromStdString(text), size, owner());
  const int result = host_ != nullptr ? host_->runSubDialog(kKeyTextInput, dialog) : dialog.exec();
  if (result != QDialog::Accepted) return false;
  text = dialog.text().toStdString();
  return true;
}

void QtPrompts::openWaitWindow(int32_t steps, int32_t textId) {
  // Only one wait window exists at a time.
  closeWaitWindow();
  waitWindow_ = new WaitWindow(steps, qtText(textId), owner());
  waitWindow_->show();
  // Let the window appear before the first frame goes out.
  letWindowsPaint();
  link_.setProgressHook([this] { stepWaitWindow(); });
}

void QtPrompts::stepWaitWindow() {
  if (QThread::currentThread() == thread()) {
    stepNow();
  } else {
    QMetaObject::invokeMethod(
        this, [this] { stepNow(); }, Qt::QueuedConnection);
  }
}

void QtPrompts::stepNow() {
  if (waitWindow_ == nullptr) return;
  waitWindow_->step();
  letWindowsPaint();
}

void QtPrompts::closeWaitWindow() {
  link_.setProgressHook({});
  delete waitWindow_.data();
}

bool askTextEmpty(UserPrompts& prompts, int32_t promptTextId, std::string& text, size_t size) {
  text.clear();
  return prompts.askText(promptTextId, text, size);
}

}  // namespace shell
