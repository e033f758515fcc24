#include "shell/ui/wait_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "shell/ui/qt_controls.h"
#include "shell/ui/qt_dialog_units.h"
#include "shell/ui/qt_text.h"
#include "texts/text_ids.h"

namespace shell {

namespace {
constexpr int kTextCharacters = 100;
}  // namespace

WaitWindow::WaitWindow(int32_t steps, const QString& text, QWidget* parent)
    : QDialog(parent), label_(new QLabel(this)), bar_(new QProgressBar(this)) {
  setWindowTitle(qtText(texts::kTextWindowTitle));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setControlId(label_, kTextControl);
  label_->setText(text.left(kTextCharacters));
  label_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  bar_->setRange(0, steps > 0 ? steps : 0);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 6, 0, 0);
  layout->addWidget(label_, 1);
  layout->addWidget(bar_);
  setFixedSize(dialogUnits(this, 252, 47));
}

void WaitWindow::step() {
  // A bar at its end stays there, like the system's own bar does.
  if (bar_->value() < bar_->maximum()) bar_->setValue(bar_->value() + 1);
}

void WaitWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
}

}  // namespace shell
