#include "viewers/common/form_state.h"

#include <charconv>
#include <type_traits>

namespace viewers {

namespace {

std::string flag(bool on) {
  return on ? "True" : "False";
}

template <typename T>
std::string joined(const std::vector<T>& items) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += ';';
    if constexpr (std::is_same_v<T, std::string>) {
      text += items[i];
    } else {
      text += std::to_string(items[i]);
    }
  }
  return text;
}

ControlState make(std::string name, const char* varType,
                  std::vector<std::pair<std::string, std::string>> attributes) {
  return ControlState{std::move(name), varType, std::move(attributes)};
}

}  // namespace

const std::string* ControlState::find(const std::string& attribute) const {
  for (const auto& [key, value] : attributes) {
    if (key == attribute) return &value;
  }
  return nullptr;
}

std::optional<int> ControlState::number(const std::string& attribute) const {
  const std::string* text = find(attribute);
  if (text == nullptr) return std::nullopt;
  int value = 0;
  const char* end = text->data() + text->size();
  auto [ptr, ec] = std::from_chars(text->data(), end, value);
  if (ec != std::errc() || ptr != end || text->empty()) return std::nullopt;
  return value;
}

ControlState ControlState::treeView(std::string name, const std::vector<std::string>& keys) {
  return make(std::move(name), "TreeView", {{"Expandet", joined(keys)}});
}

ControlState ControlState::listBox(std::string name, int listIndex) {
  return make(std::move(name), "ListBox", {{"ListIndex", std::to_string(listIndex)}});
}

ControlState ControlState::listView(std::string name, const std::vector<int>& columnWidths,
                                    bool sorted, int sortOrder, int sortKey, int listIndex,
                                    int view) {
  return make(std::move(name), "ListView",
              {{"ColWidth", joined(columnWidths)},
               {"Sorted", flag(sorted)},
               {"SortOrder", std::to_string(sortOrder)},
               {"SortKey", std::to_string(sortKey)},
               {"ListIndex", std::to_string(listIndex)},
               {"View", std::to_string(view)}});
}

ControlState ControlState::comboBox(std::string name, int listIndex, std::string text) {
  return make(std::move(name), "ComboBox",
              {{"ListIndex", std::to_string(listIndex)}, {"Text", std::move(text)}});
}

ControlState ControlState::msComm(std::string name, int commPort, std::string settings) {
  return make(std::move(name), "MSComm",
              {{"CommPort", std::to_string(commPort)}, {"Settings", std::move(settings)}});
}

ControlState ControlState::checkBox(std::string name, int value) {
  return make(std::move(name), "CheckBox", {{"Value", std::to_string(value)}});
}

ControlState ControlState::optionButton(std::string name, int selIndex) {
  return make(std::move(name), "OptionButton", {{"SelIndex", std::to_string(selIndex)}});
}

ControlState ControlState::slider(std::string name, int value, bool selectRange, int selStart,
                                  int selLength) {
  return make(std::move(name), "Slider",
              {{"Value", std::to_string(value)},
               {"SelectRange", flag(selectRange)},
               {"SelStart", std::to_string(selStart)},
               {"SelLength", std::to_string(selLength)}});
}

ControlState ControlState::textBox(std::string name, std::string text) {
  return make(std::move(name), "TextBox", {{"Text", std::move(text)}});
}

const ControlState* RestoredForm::control(const std::string& name) const {
  for (const ControlState& c : controls) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

std::vector<std::string> splitList(const std::string& text) {
  std::vector<std::string> items;
  if (text.empty()) return items;
  size_t start = 0;
  while (true) {
    size_t end = text.find(';', start);
    items.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return items;
}

}  // namespace viewers
