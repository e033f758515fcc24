#include "shell/ui/module_page.h"

#include <QVBoxLayout>
#include <QWidget>

#include "shell/ui/qt_text.h"

namespace shell {

ModulePage::ModulePage(int32_t pageId) : pageId_(pageId) {}

// The frame belongs to the tab widget while a tab holds it; a frame that no
// tab holds any more would otherwise outlive the window.
ModulePage::~ModulePage() {
  delete frame_.data();
}

QString ModulePage::caption() const {
  return qtText(pageId_);
}

QWidget* ModulePage::frame() {
  if (frame_ == nullptr) {
    frame_ = new QWidget;
    auto* layout = new QVBoxLayout(frame_);
    layout->setContentsMargins(0, 0, 0, 0);
  }
  return frame_;
}

void ModulePage::show() {
  QWidget* holder = frame();
  if (widget_ == nullptr) {
    widget_ = createWidget(holder);
    holder->layout()->addWidget(widget_);
  }
  widget_->show();
}

int32_t ModulePage::handleCommand(int32_t /*dialogKey*/, int32_t /*command*/) {
  return 1;
}

QWidget* ModulePage::createWidget(QWidget* parent) {
  return new QWidget(parent);
}

}  // namespace shell
