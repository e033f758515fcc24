#include "modules/ignition/ui/assistant_summary_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "shell/ui/dialog_rows.h"
#include "texts/assistant_text_ids.h"

namespace ignition {

namespace {

using D = AssistantSummaryWindow;

constexpr shell::ControlRow kControls[] = {
    shell::label(D::kSummary, ""),
    shell::pushButton(D::kWriteButton, "Schreiben", 8679),
    {D::kCommandOk,
     shell::ControlKind::PushButton,
     "Ok",
     0,
     shell::FieldCheck::None,
     {},
     texts::kTipAssistantDone,
     "",
     0,
     shell::kDefaultButton | shell::kSparesFields},
};

}  // namespace

AssistantSummaryWindow::AssistantSummaryWindow(DialogStack& stack, const std::string& summary,
                                               std::function<void()> write, QWidget* parent)
    : IgnitionDialog(stack, parent), write_(std::move(write)), table_(this, kControls, sender()) {
  setWindowTitle(QStringLiteral("Zusammenfassung"));
  auto* text = table_.get<QLabel>(kSummary);
  text->setText(QString::fromStdString(summary));
  text->setWordWrap(true);
  text->setMinimumWidth(420);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(table_.control(kWriteButton));
  buttons->addStretch(1);
  buttons->addWidget(table_.control(kCommandOk));
  layout->addLayout(buttons);
}

int32_t AssistantSummaryWindow::handleCommand(int32_t command) {
  switch (command) {
    case kWriteButton:
      if (write_) write_();
      return 0;
    case kCommandOk:
    case kCommandCancel:
      accept();
      return 0;
    default:
      return 1;
  }
}

}  // namespace ignition
