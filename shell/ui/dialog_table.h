#pragma once

#include <QLabel>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "shell/ui/dialog_rows.h"

class QAbstractButton;
class QLineEdit;

namespace shell {

class FieldChecks;
class UserPrompts;

// The controls of one dialog, built from its table of rows (dialog_rows.h):
// numbered, captioned, limited to their characters, with their tooltips;
// clicks on buttons and boxes go to the dialog's handler as the control's
// number; fields with a range are checked when they lose the focus (with
// the rules of FieldChecks) and a refused one is reported with 8045
// "Parameter außerhalb des Bereichs" unless the dialog says otherwise.
//
// The controls are made in the order of the rows, which is the order the
// Tab key visits them. The dialog places them (control, caption) in its
// layout, fills them from its record and reads them back when it stores.
class DialogTable {
 public:
  // The dialog's handler for a clicked control.
  using Send = std::function<void(int32_t id)>;
  // Tells the user that a field was refused; `shown` is the number the
  // field holds (0 when it holds none).
  using Report = std::function<void(int32_t shown)>;
  // Whether a field's number is accepted.
  using Accepts = std::function<bool(int32_t value)>;

  DialogTable(QWidget* dialog, std::span<const ControlRow> rows, UserPrompts& prompts, Send send);
  // For a dialog that checks no field (a view).
  DialogTable(QWidget* dialog, std::span<const ControlRow> rows, Send send);
  DialogTable(const DialogTable&) = delete;
  DialogTable& operator=(const DialogTable&) = delete;

  // The control of row `id`, or nullptr (also when it is no T).
  template <class T = QWidget>
  T* get(int32_t id) const {
    return qobject_cast<T*>(control(id));
  }
  QWidget* control(int32_t id) const;
  QLineEdit* field(int32_t id) const;
  QAbstractButton* button(int32_t id) const;
  // The static text that names row `id`'s control, made when the layout
  // first asks for it (so that no caption sits unplaced in a corner).
  QLabel* caption(int32_t id);

  // Field values: whole numbers (nullopt when the text is none) and
  // fixed-point numbers with the row's decimals.
  std::optional<int32_t> number(int32_t id) const;
  void setNumber(int32_t id, int32_t value);
  int32_t fixed(int32_t id) const;
  void setFixed(int32_t id, uint32_t value);
  bool isChecked(int32_t id) const;
  void setChecked(int32_t id, bool checked);

  // The check of a field declared with kCheckedByRule, whose accepted values
  // depend on other fields, the record or the firmware. Text that is no
  // number fails before `accepts` is asked. Without a `report` the
  // dialog's report is used. A rule-checked field without a rule accepts
  // nothing.
  void setRule(int32_t id, Accepts accepts, Report report = {});
  // How this dialog reports a refused field (default: message 8045).
  void setReport(Report report);

  FieldChecks& checks() const { return *checks_; }

 private:
  struct Control {
    ControlRow row;
    QWidget* widget = nullptr;
    QLabel* caption = nullptr;
  };
  struct Rule {
    Accepts accepts;
    Report report;
  };

  DialogTable(QWidget* dialog, std::span<const ControlRow> rows, UserPrompts* prompts, Send send);
  const Control* find(int32_t id) const;
  QWidget* build(const ControlRow& row);
  // The field's value as its check sees it; nullopt = no number.
  std::optional<int32_t> value(const ControlRow& row) const;
  bool passes(const ControlRow& row) const;
  void refuse(const ControlRow& row) const;

  QWidget* dialog_;
  UserPrompts* prompts_;
  Send send_;
  std::vector<Control> controls_;
  std::map<int32_t, Rule> rules_;
  Report report_;
  FieldChecks* checks_;
};

}  // namespace shell
