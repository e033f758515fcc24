#include "shell/ui/text_input_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "shell/ui/qt_controls.h"
#include "shell/ui/qt_text.h"
#include "texts/text_ids.h"

namespace shell {

namespace {
constexpr int32_t kOkButton = 1;
}  // namespace

TextInputDialog::TextInputDialog(const QString& prompt, const QString& text, size_t size,
                                 QWidget* parent)
    : QDialog(parent), prompt_(new QLabel(prompt, this)), edit_(new QLineEdit(this)) {
  setWindowTitle(qtText(texts::kTextWindowTitle));
  setControlId(prompt_, kPromptControl);
  setControlId(edit_, kEditControl);
  // The caller's buffer holds size - 1 characters and the terminator.
  const size_t limit = size == 0 ? 0 : std::min<size_t>(size - 1, 32767);
  edit_->setMaxLength(static_cast<int>(limit));
  edit_->setText(text);
  edit_->selectAll();

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  setControlId(ok, kOkButton);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt_);
  layout->addWidget(edit_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  layout->addLayout(buttons);
}

QString TextInputDialog::text() const {
  return edit_->text();
}

}  // namespace shell
