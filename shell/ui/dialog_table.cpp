#include "shell/ui/dialog_table.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <string>

#include "shell/ui/qt_controls.h"
#include "shell/ui/qt_edit_fields.h"
#include "shell/ui/qt_field_checks.h"
#include "shell/ui/qt_fixed_field.h"
#include "shell/ui/qt_tooltips.h"
#include "shell/user_prompts.h"
#include "texts/text_ids.h"

namespace shell {

namespace {

bool isField(ControlKind kind) {
  return kind == ControlKind::NumberField || kind == ControlKind::FixedField ||
         kind == ControlKind::TextField;
}

}  // namespace

DialogTable::DialogTable(QWidget* dialog, std::span<const ControlRow> rows, Send send)
    : DialogTable(dialog, rows, nullptr, std::move(send)) {}

DialogTable::DialogTable(QWidget* dialog, std::span<const ControlRow> rows, UserPrompts& prompts,
                         Send send)
    : DialogTable(dialog, rows, &prompts, std::move(send)) {}

DialogTable::DialogTable(QWidget* dialog, std::span<const ControlRow> rows, UserPrompts* prompts,
                         Send send)
    : dialog_(dialog), prompts_(prompts), send_(std::move(send)), checks_(new FieldChecks(dialog)) {
  std::map<std::string, QButtonGroup*> groups;
  std::vector<TooltipEntry> tooltips;
  for (const ControlRow& row : rows) {
    QWidget* widget = build(row);
    controls_.push_back({row, widget});
    if (row.tooltip != 0) tooltips.push_back({row.id, row.tooltip});
    if (row.kind == ControlKind::RadioButton) {
      QButtonGroup*& group = groups[row.group];
      if (group == nullptr) group = new QButtonGroup(dialog_);
      group->addButton(static_cast<QRadioButton*>(widget));
    }
    if (row.check != FieldCheck::None && isField(row.kind)) {
      checks_->add(
          static_cast<QLineEdit*>(widget), [this, row] { return passes(row); },
          [this, row] { refuse(row); });
    }
    if (row.flags & kSparesFields) checks_->exempt(widget);
  }
  createTooltips(dialog_, tooltips);
}

QWidget* DialogTable::build(const ControlRow& row) {
  const QString caption = QString::fromUtf8(row.caption);
  QWidget* widget = nullptr;
  switch (row.kind) {
    case ControlKind::NumberField:
    case ControlKind::FixedField:
      widget = makeNumberField(dialog_, row.id, row.characters);
      break;
    case ControlKind::TextField:
      widget = makeTextField(dialog_, row.id, row.characters);
      break;
    case ControlKind::CheckBox:
      widget = new QCheckBox(caption, dialog_);
      break;
    case ControlKind::RadioButton:
      widget = new QRadioButton(caption, dialog_);
      break;
    case ControlKind::PushButton: {
      auto* button = new QPushButton(caption, dialog_);
      button->setAutoDefault((row.flags & kAutoDefault) != 0);
      button->setDefault((row.flags & kDefaultButton) != 0);
      widget = button;
      break;
    }
    case ControlKind::Label:
      widget = new QLabel(caption, dialog_);
      break;
    case ControlKind::List: {
      auto* list = new QListWidget(dialog_);
      list->setSelectionMode(QAbstractItemView::SingleSelection);
      widget = list;
      break;
    }
    case ControlKind::ComboBox:
      widget = new QComboBox(dialog_);
      break;
  }
  setControlId(widget, row.id);
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    const int32_t id = row.id;
    QObject::connect(button, &QAbstractButton::clicked, dialog_, [this, id] { send_(id); });
  }
  if (row.flags & kReadOnly) {
    if (auto* field = qobject_cast<QLineEdit*>(widget)) field->setReadOnly(true);
    widget->setFocusPolicy(Qt::NoFocus);
  }
  return widget;
}

const DialogTable::Control* DialogTable::find(int32_t id) const {
  const auto it = std::find_if(controls_.begin(), controls_.end(),
                               [id](const Control& c) { return c.row.id == id; });
  return it == controls_.end() ? nullptr : &*it;
}

QWidget* DialogTable::control(int32_t id) const {
  const Control* c = find(id);
  return c != nullptr ? c->widget : nullptr;
}

QLineEdit* DialogTable::field(int32_t id) const {
  return get<QLineEdit>(id);
}

QAbstractButton* DialogTable::button(int32_t id) const {
  return get<QAbstractButton>(id);
}

QLabel* DialogTable::caption(int32_t id) {
  auto* c = const_cast<Control*>(find(id));
  if (c == nullptr) return nullptr;
  if (c->caption == nullptr) c->caption = new QLabel(QString::fromUtf8(c->row.caption), dialog_);
  return c->caption;
}

std::optional<int32_t> DialogTable::number(int32_t id) const {
  const QLineEdit* f = field(id);
  return f != nullptr ? fieldNumber(f) : std::nullopt;
}

void DialogTable::setNumber(int32_t id, int32_t value) {
  if (QLineEdit* f = field(id)) setFieldNumber(f, value);
}

int32_t DialogTable::fixed(int32_t id) const {
  const Control* c = find(id);
  const QLineEdit* f = field(id);
  return f != nullptr ? getFixedField(f, c->row.decimals) : 0;
}

void DialogTable::setFixed(int32_t id, uint32_t value) {
  const Control* c = find(id);
  if (QLineEdit* f = field(id)) setFixedField(f, value, c->row.decimals);
}

bool DialogTable::isChecked(int32_t id) const {
  const QAbstractButton* b = button(id);
  return b != nullptr && b->isChecked();
}

void DialogTable::setChecked(int32_t id, bool checked) {
  if (QAbstractButton* b = button(id)) b->setChecked(checked);
}

void DialogTable::setRule(int32_t id, Accepts accepts, Report report) {
  rules_[id] = {std::move(accepts), std::move(report)};
}

void DialogTable::setReport(Report report) {
  report_ = std::move(report);
}

std::optional<int32_t> DialogTable::value(const ControlRow& row) const {
  // A fixed-point field reads text that is no number as 0, which its range
  // then judges.
  return row.kind == ControlKind::FixedField ? std::optional<int32_t>(fixed(row.id))
                                             : number(row.id);
}

bool DialogTable::passes(const ControlRow& row) const {
  const std::optional<int32_t> v = value(row);
  if (!v) return false;
  if (row.check == FieldCheck::Range) return row.range.contains(*v);
  const auto rule = rules_.find(row.id);
  return rule != rules_.end() && rule->second.accepts && rule->second.accepts(*v);
}

void DialogTable::refuse(const ControlRow& row) const {
  const int32_t shown = value(row).value_or(0);
  const auto rule = rules_.find(row.id);
  if (rule != rules_.end() && rule->second.report) {
    rule->second.report(shown);
  } else if (report_) {
    report_(shown);
  } else if (prompts_ != nullptr) {
    prompts_->showMessage(texts::kTextParameterOutOfRange);
  }
}

}  // namespace shell
