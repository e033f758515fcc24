#include "modules/loggers/ui/logger_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "link/module_link.h"
#include "shell/message_helpers.h"

namespace loggers {

LoggerPage::LoggerPage(int32_t pageId, std::span<const shell::ControlRow> rows,
                       shell::SettingsFile& settings, buslink::ModuleLink& link,
                       shell::UserPrompts& prompts)
    : ModulePage(pageId), settings_(settings), link_(link), prompts_(prompts), rows_(rows) {}

// The widget goes first, while the table its handlers use still exists.
LoggerPage::~LoggerPage() {
  delete widget();
}

QWidget* LoggerPage::createWidget(QWidget* parent) {
  auto* page = new QWidget(parent);
  table_ =
      std::make_unique<shell::DialogTable>(page, rows_, prompts_, [this](int32_t id) { run(id); });
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(6, 6, 6, 6);
  grid->setSpacing(6);
  layout(page, grid);
  prepare();
  return page;
}

int32_t LoggerPage::handleCommand(int32_t dialogKey, int32_t command) {
  if (dialogKey != 0 || !table_) return 1;
  run(command);
  return 0;
}

QGroupBox* LoggerPage::box(QWidget* page, const QString& title, std::span<const int32_t> ids,
                           int columns) {
  auto* group = new QGroupBox(title, page);
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(6, 4, 6, 6);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);
  const int rows = (static_cast<int>(ids.size()) + columns - 1) / columns;
  for (size_t i = 0; i < ids.size(); ++i) {
    const int row = static_cast<int>(i) % rows;
    const int column = 2 * (static_cast<int>(i) / rows);
    QWidget* control = table_->control(ids[i]);
    if (control == nullptr) continue;
    const bool captioned =
        qobject_cast<QLineEdit*>(control) != nullptr || qobject_cast<QComboBox*>(control);
    if (captioned) {
      grid->addWidget(table_->caption(ids[i]), row, column);
      grid->addWidget(control, row, column + 1, Qt::AlignLeft);
    } else {
      grid->addWidget(control, row, column, 1, 2);
    }
  }
  grid->setColumnStretch(2 * columns - 1, 1);
  return group;
}

void LoggerPage::finish(int32_t status) {
  shell::finishOperation(link_, prompts_, status);
}

void LoggerPage::setVersion(int32_t labelId, const std::string& text) {
  if (auto* label = table_->get<QLabel>(labelId)) label->setText(QString::fromStdString(text));
}

}  // namespace loggers
