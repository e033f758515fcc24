#include "shell/ui/small_wait_window.h"

#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

#include "shell/ui/qt_controls.h"
#include "shell/ui/qt_dialog_units.h"
#include "shell/ui/qt_text.h"
#include "shell/ui/tab_host_window.h"
#include "texts/text_ids.h"

namespace shell {

SmallWaitWindow::~SmallWaitWindow() {
  close();
}

void SmallWaitWindow::open(TabHostWindow& host, int32_t textId) {
  if (dialog_ != nullptr) return;
  host_ = &host;
  host.setDialogKey(kDialogKey);
  dialog_ = new QDialog(&host, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  dialog_->setWindowTitle(qtText(texts::kTextWindowTitle));
  auto* label = new QLabel(qtText(textId), dialog_);
  setControlId(label, kTextControl);
  label->setAlignment(Qt::AlignCenter);
  label->setWordWrap(true);
  auto* layout = new QVBoxLayout(dialog_);
  layout->addWidget(label);
  dialog_->setFixedSize(dialogUnits(dialog_, 107, 55));
  dialog_->show();
}

void SmallWaitWindow::close() {
  if (dialog_ == nullptr) return;
  delete dialog_.data();
  if (host_ != nullptr) host_->setDialogKey(0);
  host_ = nullptr;
}

}  // namespace shell
