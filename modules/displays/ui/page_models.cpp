#include "modules/displays/ui/page_models.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>

#include "shell/ui/qt_edit_fields.h"
#include "shell/ui/qt_field_checks.h"
#include "shell/user_prompts.h"
#include "texts/text_ids.h"

namespace displays {

std::unique_ptr<DisplayPageModel> makePageModel(DisplayKind kind) {
  switch (kind) {
    case DisplayKind::Bar:
      return makeBarPageModel();
    case DisplayKind::Gear:
      return makeGearPageModel();
    case DisplayKind::Tank:
      return makeTankPageModel();
    case DisplayKind::Shift:
      return makeShiftPageModel();
    case DisplayKind::Poti:
      return makePotiPageModel();
    case DisplayKind::Oil:
      return makeOilPageModel();
    case DisplayKind::Stopwatch:
      return makeStopwatchPageModel();
    case DisplayKind::Rally:
      return makeRallyPageModel();
  }
  return nullptr;
}

int32_t fieldOrZero(const shell::DialogTable& table, int32_t id) {
  return table.number(id).value_or(0);
}

void setNumberOrEmpty(shell::DialogTable& table, int32_t id, int32_t value) {
  if (QLineEdit* f = table.field(id)) {
    if (value == 0) {
      f->clear();
    } else {
      table.setNumber(id, value);
    }
  }
}

void setOptional(shell::DialogTable& table, int32_t id, const std::optional<int32_t>& value) {
  if (QLineEdit* f = table.field(id)) {
    if (value) {
      table.setNumber(id, *value);
    } else {
      f->clear();
    }
  }
}

std::optional<int32_t> optionalField(const shell::DialogTable& table, int32_t id) {
  const QLineEdit* f = table.field(id);
  if (f == nullptr || f->text().trimmed().isEmpty()) return std::nullopt;
  return table.number(id).value_or(0);
}

void checkEmptyOr(PageContext& context, int32_t id, std::function<bool(int32_t)> accepts) {
  QLineEdit* field = context.table.field(id);
  shell::UserPrompts& prompts = context.prompts;
  context.table.checks().add(
      field,
      [field, accepts] {
        if (field->text().trimmed().isEmpty()) return true;
        const std::optional<int32_t> v = shell::fieldNumber(field);
        return v && accepts(*v);
      },
      [&prompts] { prompts.showMessage(texts::kTextParameterOutOfRange); });
}

void fitListWidth(QListWidget* list, const QString& sample) {
  const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setFixedWidth(list->fontMetrics().horizontalAdvance(sample) + scrollBar +
                      2 * list->frameWidth() + 6);
}

QGroupBox* ledGroup(QWidget* page, shell::DialogTable& table, std::span<const int32_t> greens,
                    std::span<const int32_t> reds) {
  auto* box = new QGroupBox(QStringLiteral("Leds"), page);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(4, 2, 4, 4);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(3);
  grid->addWidget(new QLabel(QStringLiteral("grün"), box), 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("rot"), box), 0, 2);
  for (size_t i = 0; i < greens.size() && i < reds.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    grid->addWidget(table.caption(greens[i]), row, 0);
    grid->addWidget(table.control(greens[i]), row, 1);
    grid->addWidget(table.control(reds[i]), row, 2);
  }
  return box;
}

QGroupBox* buttonGroup(QWidget* page, shell::DialogTable& table, const QString& title,
                       std::span<const int32_t> ids, int columns) {
  auto* box = new QGroupBox(title, page);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(4, 2, 4, 4);
  grid->setSpacing(3);
  for (size_t i = 0; i < ids.size(); ++i) {
    if (QWidget* w = table.control(ids[i]))
      grid->addWidget(w, static_cast<int>(i) / columns, static_cast<int>(i) % columns);
  }
  return box;
}

}  // namespace displays
