#include <charconv>

#include "viewers/common/config.h"
#include "viewers/common/xml_latin1.h"

namespace viewers {

namespace {

constexpr const char* kVarType = "VarType";

void setAttribute(pugi::xml_node node, const std::string& name, const std::string& value) {
  if (!isStorableName(name)) return;
  pugi::xml_attribute attribute = node.attribute(name.c_str());
  if (!attribute) attribute = node.append_attribute(name.c_str());
  attribute.set_value(storableText(value).c_str());
}

std::optional<int> numberAttribute(pugi::xml_node node, const char* name) {
  std::string_view text = node.attribute(name).value();
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::string CConfig::formPath(const std::string& formName, int index) {
  if (index == -1) return formName;
  return formName + "/" + formName + std::to_string(index);
}

void CConfig::SaveForm(const FormState& form, int index) {
  if (!ready()) return;
  pugi::xml_node node = element(formPath(form.name, index), true);
  if (!node) return;
  if (form.cfg) {
    setAttribute(node, kVarType, "Form");
    setAttribute(node, "State", std::to_string(static_cast<int>(form.state)));
    setAttribute(node, "Caption", form.caption);
    // A minimised or maximised window's size is not the one to come back to.
    if (form.state == WindowState::kNormal) {
      setAttribute(node, "Left", std::to_string(form.left));
      setAttribute(node, "Top", std::to_string(form.top));
      setAttribute(node, "Width", std::to_string(form.width));
      setAttribute(node, "Height", std::to_string(form.height));
    }
  }
  for (const ControlState& control : form.controls) {
    if (!isStorableName(control.name)) continue;
    pugi::xml_node child = node.child(control.name.c_str());
    if (!child) {
      dropLayoutText(node);
      child = node.append_child(control.name.c_str());
    }
    setAttribute(child, kVarType, control.varType);
    for (const auto& [name, value] : control.attributes) setAttribute(child, name, value);
  }
}

std::optional<RestoredForm> CConfig::RestoreForm(const std::string& formName, bool cfg,
                                                 bool sizable, int index) {
  if (!ready()) return std::nullopt;
  pugi::xml_node node = element(formPath(formName, index), false);
  if (!node) return std::nullopt;
  RestoredForm restored;
  if (cfg) {
    restored.left = numberAttribute(node, "Left");
    restored.top = numberAttribute(node, "Top");
    if (sizable) {
      std::optional<int> state = numberAttribute(node, "State");
      if (state && *state >= 0 && *state <= 2) restored.state = static_cast<WindowState>(*state);
      restored.width = numberAttribute(node, "Width");
      restored.height = numberAttribute(node, "Height");
    }
  }
  for (pugi::xml_node child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    std::string varType = child.attribute(kVarType).value();
    // The elements of indexed instances of this form are no controls.
    if (varType.empty() || varType == "Form") continue;
    ControlState control{child.name(), varType, {}};
    for (pugi::xml_attribute a : child.attributes()) {
      if (std::string_view(a.name()) != kVarType)
        control.attributes.emplace_back(a.name(), a.value());
    }
    restored.controls.push_back(std::move(control));
  }
  return restored;
}

}  // namespace viewers
