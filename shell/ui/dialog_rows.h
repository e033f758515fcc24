#pragma once

#include <cstdint>

#include "shell/field_number.h"

// A dialog's controls declared as a table, one row per control: what it is,
// its number, its text, how many characters it takes, the values it accepts
// and its tooltip. DialogTable builds the controls from the rows; the
// dialog adds its layout and its load and store code.
//
//   constexpr shell::ControlRow kControls[] = {
//       shell::numberField(3200, "Zylinder", 2, {1, 12}, 8699),
//       shell::checkBox(3217, "Invertierung", 8686),
//       shell::radioButton(3212, "OT-Geber", "Geber", 8671),
//       shell::okButton(1, "OK"),
//   };
namespace shell {

enum class ControlKind {
  NumberField,  // whole numbers
  FixedField,   // fixed-point numbers with a decimal comma
  TextField,
  CheckBox,
  RadioButton,  // one of the buttons of its `group`
  PushButton,
  Label,  // a numbered static text
  List,
  ComboBox,
};

// How a field is checked when it loses the focus.
enum class FieldCheck {
  None,
  Range,  // the row's range
  Rule,   // a rule the dialog gives beside the table (DialogTable::setRule)
};

// Control flags.
inline constexpr unsigned kDefaultButton = 1;  // the button Enter presses
// Leaving a field for this button checks nothing: OK checks the field itself
// and Abbruch must always work.
inline constexpr unsigned kSparesFields = 2;
inline constexpr unsigned kReadOnly = 4;     // shows a value, takes no focus
inline constexpr unsigned kAutoDefault = 8;  // a focused button takes Enter itself

struct ControlRow {
  int32_t id = 0;
  ControlKind kind = ControlKind::Label;
  // UTF-8. The text of a button or label; for fields, lists and combo boxes
  // the static text that names them (DialogTable::caption).
  const char* caption = "";
  int characters = 0;  // fields: the most the user can type
  FieldCheck check = FieldCheck::None;
  FieldRange range{};
  int32_t tooltip = 0;  // text ID; 0 = none
  const char* group = "";
  int decimals = 0;  // fixed-point fields
  unsigned flags = 0;
};

// Tag for a field whose accepted values depend on more than the row.
struct CheckedByRule {};
inline constexpr CheckedByRule kCheckedByRule{};

constexpr ControlRow numberField(int32_t id, const char* caption, int characters,
                                 int32_t tooltip = 0) {
  return {id, ControlKind::NumberField, caption, characters, FieldCheck::None, {}, tooltip};
}
constexpr ControlRow numberField(int32_t id, const char* caption, int characters, FieldRange range,
                                 int32_t tooltip = 0) {
  return {id, ControlKind::NumberField, caption, characters, FieldCheck::Range, range, tooltip};
}
constexpr ControlRow numberField(int32_t id, const char* caption, int characters, CheckedByRule,
                                 int32_t tooltip = 0) {
  return {id, ControlKind::NumberField, caption, characters, FieldCheck::Rule, {}, tooltip};
}
// The range is in units of the last decimal (tenths for 1 decimal).
constexpr ControlRow fixedField(int32_t id, const char* caption, int characters, int decimals,
                                FieldRange range, int32_t tooltip = 0) {
  return {
      id,      ControlKind::FixedField, caption, characters, FieldCheck::Range, range, tooltip, "",
      decimals};
}
constexpr ControlRow fixedField(int32_t id, const char* caption, int characters, int decimals) {
  return {id, ControlKind::FixedField, caption, characters, FieldCheck::None, {}, 0, "", decimals};
}
constexpr ControlRow textField(int32_t id, const char* caption, int characters,
                               int32_t tooltip = 0) {
  return {id, ControlKind::TextField, caption, characters, FieldCheck::None, {}, tooltip};
}
constexpr ControlRow checkBox(int32_t id, const char* caption, int32_t tooltip = 0) {
  return {id, ControlKind::CheckBox, caption, 0, FieldCheck::None, {}, tooltip};
}
constexpr ControlRow radioButton(int32_t id, const char* caption, const char* group,
                                 int32_t tooltip = 0) {
  return {id, ControlKind::RadioButton, caption, 0, FieldCheck::None, {}, tooltip, group};
}
constexpr ControlRow pushButton(int32_t id, const char* caption, int32_t tooltip = 0) {
  return {id, ControlKind::PushButton, caption, 0, FieldCheck::None, {}, tooltip};
}
constexpr ControlRow okButton(int32_t id, const char* caption) {
  return {id, ControlKind::PushButton,       caption, 0, FieldCheck::None, {}, 0, "",
          0,  kDefaultButton | kSparesFields};
}
constexpr ControlRow cancelButton(int32_t id, const char* caption) {
  return {id, ControlKind::PushButton, caption, 0, FieldCheck::None, {}, 0, "", 0, kSparesFields};
}
constexpr ControlRow label(int32_t id, const char* caption) {
  return {id, ControlKind::Label, caption};
}
constexpr ControlRow list(int32_t id, const char* caption, int32_t tooltip = 0) {
  return {id, ControlKind::List, caption, 0, FieldCheck::None, {}, tooltip};
}
constexpr ControlRow comboBox(int32_t id, const char* caption, int32_t tooltip = 0) {
  return {id, ControlKind::ComboBox, caption, 0, FieldCheck::None, {}, tooltip};
}

constexpr ControlRow withFlags(ControlRow row, unsigned flags) {
  row.flags |= flags;
  return row;
}
constexpr ControlRow readOnly(ControlRow row) {
  return withFlags(row, kReadOnly);
}

}  // namespace shell
