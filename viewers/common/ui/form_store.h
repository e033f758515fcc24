#pragma once

#include "viewers/common/form_state.h"

class QObject;
class QWidget;

namespace viewers {

class CConfig;

// How a Qt form says what its settings file keeps, in place of the Windows
// forms' tags and control arrays:
// - the dynamic property "tag" = "cfg" (any case) on the form stores its
//   window (state, caption, position and size in twips); on a control or on
//   a ucCOM it stores that control;
// - the objectName is the form's or the control's name (its element);
// - members of a control array share one objectName and carry their index
//   in the dynamic property "index".
// Controls map to the stored type names: QCheckBox and a checkable button
// that is not exclusive "CheckBox"; QRadioButton and an exclusive checkable
// button "OptionButton"; QComboBox "ComboBox"; QListWidget "ListBox"; a
// QTreeWidget without root decoration "ListView", with it "TreeView"
// (node keys: Qt::UserRole of column 0, else its text); QSlider "Slider"
// (selection range from the properties "selectRange", "selStart",
// "selLength"); QLineEdit and QPlainTextEdit "TextBox"; ucCOM "MSComm".
inline constexpr const char* kCfgTag = "cfg";

bool isTaggedCfg(const QObject* object);

// The form's state as the settings file takes it.
FormState captureForm(const QWidget* form);
// Applies what was stored; values that do not fit a control are skipped.
void applyForm(QWidget* form, const RestoredForm& restored);

// SaveForm and RestoreForm of the settings file for a Qt form.
void saveForm(CConfig& config, const QWidget* form, int index = -1);
void restoreForm(CConfig& config, QWidget* form, int index = -1);
// The whole window on the primary screen: a window without a stored place
// is centred; a stored place is moved in as far as needed.
void keepOnScreen(QWidget* form, bool placed);

}  // namespace viewers
