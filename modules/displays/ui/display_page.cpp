#include "modules/displays/ui/display_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "link/module_link.h"
#include "modules/displays/display_operation.h"
#include "modules/displays/ui/page_models.h"
#include "shell/settings_file.h"
#include "shell/ui/qt_controls.h"
#include "shell/user_prompts.h"
#include "shell/version_text.h"

namespace displays {

QGroupBox* controlGroup(QWidget* page, shell::DialogTable& table, const QString& title,
                        std::span<const int32_t> ids, int columns) {
  auto* box = new QGroupBox(title, page);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(4, 2, 4, 4);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(2);
  const int rows = (static_cast<int>(ids.size()) + columns - 1) / columns;
  for (size_t i = 0; i < ids.size(); ++i) {
    const int row = static_cast<int>(i) % rows;
    const int column = 2 * (static_cast<int>(i) / rows);
    QWidget* control = table.control(ids[i]);
    if (control == nullptr) continue;
    const bool captioned = qobject_cast<QLineEdit*>(control) != nullptr ||
                           qobject_cast<QListWidget*>(control) != nullptr ||
                           control->inherits("QComboBox");
    if (captioned) {
      grid->addWidget(table.caption(ids[i]), row, column);
      grid->addWidget(control, row, column + 1, Qt::AlignLeft);
    } else {
      grid->addWidget(control, row, column, 1, 2);
    }
  }
  grid->setColumnStretch(2 * columns - 1, 1);
  return box;
}

DisplayPage::DisplayPage(std::unique_ptr<DisplayPageModel> model, shell::SettingsFile& settings,
                         buslink::ModuleLink& link, shell::UserPrompts& prompts)
    : ModulePage(displayInfo(model->kind()).pageId),
      model_(std::move(model)),
      settings_(settings),
      link_(link),
      prompts_(prompts) {}

// The widget goes first, while the table its handlers use still exists.
DisplayPage::~DisplayPage() {
  delete widget();
}

void DisplayPage::initialise() {
  if (initialised_) return;
  initialised_ = true;
  initialiseDisplayFileDialog(model_->kind(), fileDialog_, settings_);
}

QWidget* DisplayPage::createWidget(QWidget* parent) {
  // The bar display sets up its file dialog when its page is made.
  initialise();
  auto* page = new QWidget(parent);
  table_ = std::make_unique<shell::DialogTable>(page, model_->controls(), prompts_,
                                                [this](int32_t id) { run(id); });
  // The tab host has a fixed size: buttons may be as narrow as their
  // caption, so that every page fits it.
  for (const shell::ControlRow& row : model_->controls()) {
    if (row.kind != shell::ControlKind::PushButton) continue;
    QWidget* b = table_->control(row.id);
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance(QString::fromUtf8(row.caption)) + 14);
    b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  }
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->setSpacing(4);
  model_->layout(page, *table_, grid);
  PageContext context{link_, prompts_, *table_, page};
  model_->prepare(context);
  model_->show(*table_);
  return page;
}

int32_t DisplayPage::handleCommand(int32_t dialogKey, int32_t command) {
  if (dialogKey != 0 || !table_) return 1;
  run(command);
  return 0;
}

void DisplayPage::run(int32_t command) {
  switch (command) {
    case page_id::kRead:
      readModule();
      return;
    case page_id::kWrite:
      writeModule();
      return;
    case page_id::kTest: {
      model_->take(*table_);
      PageContext context{link_, prompts_, *table_, widget()};
      model_->test(context);
      return;
    }
    case page_id::kLoad:
      loadFile();
      return;
    case page_id::kSave:
      saveFile();
      return;
    default: {
      PageContext context{link_, prompts_, *table_, widget()};
      model_->command(command, context);
      return;
    }
  }
}

void DisplayPage::readModule() {
  if (!model_->hasRead()) return;
  model_->take(*table_);
  const int32_t status = model_->read(link_, prompts_);
  model_->show(*table_);
  if (auto* version = table_->get<QLabel>(page_id::kVersion); version && status == 0) {
    // A caption ("Version:") stays in front of the version.
    QString caption;
    for (const shell::ControlRow& row : model_->controls()) {
      if (row.id == page_id::kVersion) caption = QString::fromUtf8(row.caption);
    }
    const QString text = QString::fromStdString(shell::versionText(model_->version()));
    version->setText(caption.isEmpty() ? text : caption + QLatin1Char(' ') + text);
  }
  reportOutcome(link_, prompts_, Operation::Read, status);
}

void DisplayPage::writeModule() {
  model_->take(*table_);
  const int32_t status = model_->write(link_, prompts_);
  if (model_->hasRead()) reportOutcome(link_, prompts_, Operation::Write, status);
}

void DisplayPage::loadFile() {
  if (!hasSettingsFile(model_->kind())) return;
  const auto path = chooseDisplayFile(model_->kind(), false, fileDialog_, settings_);
  if (!path) return;
  model_->take(*table_);
  const int32_t e = model_->load(*path);
  model_->show(*table_);
  if (e != 0) prompts_.showMessage(e);
}

void DisplayPage::saveFile() {
  if (!hasSettingsFile(model_->kind())) return;
  model_->take(*table_);
  const auto path = chooseDisplayFile(model_->kind(), true, fileDialog_, settings_);
  if (!path) return;
  if (int32_t e = model_->save(*path); e != 0) prompts_.showMessage(e);
}

std::unique_ptr<shell::ModulePage> makeDisplayPage(int32_t pageId, shell::SettingsFile& settings,
                                                   buslink::ModuleLink& link,
                                                   shell::UserPrompts& prompts) {
  const std::optional<DisplayKind> kind = kindForPage(pageId);
  if (!kind) return nullptr;
  return std::make_unique<DisplayPage>(makePageModel(*kind), settings, link, prompts);
}

}  // namespace displays
