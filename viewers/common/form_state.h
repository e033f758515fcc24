#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace viewers {

// Window geometry is stored in twips, as the Windows viewers did, so a
// settings file moves between them; a Qt form converts at 96 dpi.
inline constexpr int kTwipsPerPixel = 15;

// The stored state of one control (or one control array, which shares an
// element): its type name and its attributes in their text form.
struct ControlState {
  std::string name;
  std::string varType;
  std::vector<std::pair<std::string, std::string>> attributes;

  const std::string* find(const std::string& attribute) const;
  std::optional<int> number(const std::string& attribute) const;

  static ControlState treeView(std::string name, const std::vector<std::string>& expandedKeys);
  static ControlState listBox(std::string name, int listIndex);
  static ControlState listView(std::string name, const std::vector<int>& columnWidths, bool sorted,
                               int sortOrder, int sortKey, int listIndex, int view);
  static ControlState comboBox(std::string name, int listIndex, std::string text);
  static ControlState msComm(std::string name, int commPort, std::string settings);
  static ControlState checkBox(std::string name, int value);
  // Only the selected button of an option group is stored.
  static ControlState optionButton(std::string name, int selIndex);
  static ControlState slider(std::string name, int value, bool selectRange, int selStart,
                             int selLength);
  static ControlState textBox(std::string name, std::string text);
};

enum class WindowState { kNormal = 0, kMinimised = 1, kMaximised = 2 };

// What a form hands over to be stored.
struct FormState {
  std::string name;
  bool cfg = false;  // the form's own tag is "cfg": its window is stored
  WindowState state = WindowState::kNormal;
  std::string caption;
  int left = 0, top = 0, width = 0, height = 0;  // twips
  std::vector<ControlState> controls;            // the controls tagged "cfg"
};

// What a form should apply; a field without a value is left as it is.
struct RestoredForm {
  std::optional<WindowState> state;
  std::optional<int> left, top, width, height;
  std::vector<ControlState> controls;  // every stored control, by element name

  const ControlState* control(const std::string& name) const;
};

// Splits "a;b;c" as the list attributes ("Expandet", "ColWidth") store them.
std::vector<std::string> splitList(const std::string& text);

}  // namespace viewers
