#include "viewers/common/ui/form_store.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QStyle>
#include <QTreeWidget>
#include <QWidget>
#include <algorithm>
#include <functional>

#include "viewers/common/config.h"
#include "viewers/common/ui/uc_com.h"

namespace viewers {

namespace {

// A report-style list view, the only view a Qt list offers.
constexpr int kReportView = 3;

std::string utf8(const QString& text) {
  return text.toStdString();
}

int twips(int pixels) {
  return pixels * kTwipsPerPixel;
}

int pixels(int twipsValue) {
  return twipsValue / kTwipsPerPixel;
}

int arrayIndex(const QObject* object) {
  bool ok = false;
  int index = object->property("index").toInt(&ok);
  return ok ? index : 0;
}

// Text boxes of the Windows viewers keep CR LF line ends; the stored file
// stays the same whichever viewer wrote it.
std::string withCrLf(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return utf8(text);
}

QString withLf(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

bool isOptionButton(const QObject* object) {
  if (qobject_cast<const QRadioButton*>(object) != nullptr) return true;
  const auto* button = qobject_cast<const QAbstractButton*>(object);
  return button != nullptr && qobject_cast<const QCheckBox*>(object) == nullptr &&
         button->isCheckable() && button->autoExclusive();
}

std::string treeKey(const QTreeWidgetItem* item) {
  QVariant key = item->data(0, Qt::UserRole);
  return utf8(key.isValid() ? key.toString() : item->text(0));
}

void forEachItem(QTreeWidgetItem* parent, const std::function<void(QTreeWidgetItem*)>& visit) {
  for (int i = 0; i < parent->childCount(); ++i) {
    visit(parent->child(i));
    forEachItem(parent->child(i), visit);
  }
}

ControlState listViewState(const std::string& name, const QTreeWidget* list) {
  std::vector<int> widths;
  for (int c = 0; c < list->columnCount(); ++c) widths.push_back(twips(list->columnWidth(c)));
  const QHeaderView* header = list->header();
  QTreeWidgetItem* current = list->currentItem();
  // Items count from 1 as in the Windows list; 0 is "none".
  const int listIndex = current != nullptr ? list->indexOfTopLevelItem(current) + 1 : 0;
  return ControlState::listView(
      name, widths, list->isSortingEnabled(),
      header->sortIndicatorOrder() == Qt::DescendingOrder ? 1 : 0,
      header->sortIndicatorSection() < 0 ? 0 : header->sortIndicatorSection(), listIndex,
      kReportView);
}

std::optional<ControlState> controlState(const QObject* object) {
  const std::string name = utf8(object->objectName());
  if (const auto* com = qobject_cast<const ucCOM*>(object)) {
    return ControlState::msComm(name, com->portNumber(), com->settingsText());
  }
  if (const auto* box = qobject_cast<const QCheckBox*>(object)) {
    const Qt::CheckState check = box->checkState();
    return ControlState::checkBox(name, check == Qt::Checked            ? 1
                                        : check == Qt::PartiallyChecked ? 2
                                                                        : 0);
  }
  if (isOptionButton(object)) {
    // Only the selected button of a group speaks for it.
    if (!qobject_cast<const QAbstractButton*>(object)->isChecked()) return std::nullopt;
    return ControlState::optionButton(name, arrayIndex(object));
  }
  if (const auto* button = qobject_cast<const QAbstractButton*>(object)) {
    if (!button->isCheckable()) return std::nullopt;
    return ControlState::checkBox(name, button->isChecked() ? 1 : 0);
  }
  if (const auto* combo = qobject_cast<const QComboBox*>(object)) {
    return ControlState::comboBox(name, combo->currentIndex(), utf8(combo->currentText()));
  }
  if (const auto* list = qobject_cast<const QListWidget*>(object)) {
    return ControlState::listBox(name, list->currentRow());
  }
  if (const auto* tree = qobject_cast<const QTreeWidget*>(object)) {
    if (!tree->rootIsDecorated()) return listViewState(name, tree);
    std::vector<std::string> expanded;
    forEachItem(tree->invisibleRootItem(), [&](QTreeWidgetItem* item) {
      if (item->isExpanded()) expanded.push_back(treeKey(item));
    });
    return ControlState::treeView(name, expanded);
  }
  if (const auto* slider = qobject_cast<const QSlider*>(object)) {
    return ControlState::slider(name, slider->value(), slider->property("selectRange").toBool(),
                                slider->property("selStart").toInt(),
                                slider->property("selLength").toInt());
  }
  if (const auto* edit = qobject_cast<const QLineEdit*>(object)) {
    return ControlState::textBox(name, withCrLf(edit->text()));
  }
  if (const auto* edit = qobject_cast<const QPlainTextEdit*>(object)) {
    return ControlState::textBox(name, withCrLf(edit->toPlainText()));
  }
  return std::nullopt;
}

void applyListView(QTreeWidget* list, const ControlState& stored) {
  std::vector<std::string> widths;
  if (const std::string* text = stored.find("ColWidth")) widths = splitList(*text);
  for (int c = 0; c < list->columnCount() && c < static_cast<int>(widths.size()); ++c) {
    bool ok = false;
    const int width = QString::fromStdString(widths[static_cast<size_t>(c)]).toInt(&ok);
    if (ok && width >= 0) list->setColumnWidth(c, pixels(width));
  }
  if (const std::string* sorted = stored.find("Sorted")) {
    list->setSortingEnabled(*sorted == "True");
    if (list->isSortingEnabled()) {
      const int key = stored.number("SortKey").value_or(0);
      if (key >= 0 && key < list->columnCount()) {
        list->sortByColumn(key, stored.number("SortOrder").value_or(0) == 1 ? Qt::DescendingOrder
                                                                            : Qt::AscendingOrder);
      }
    }
  }
  const int index = stored.number("ListIndex").value_or(0);
  if (index >= 1 && index <= list->topLevelItemCount()) {
    list->setCurrentItem(list->topLevelItem(index - 1));
  }
}

// Each value is applied only where it fits the control; the rest is left.
void applyControl(QObject* object, const ControlState& stored) {
  const std::string& type = stored.varType;
  if (type == "MSComm") {
    auto* com = qobject_cast<ucCOM*>(object);
    if (com == nullptr) return;
    if (std::optional<int> port = stored.number("CommPort")) com->COMPort(std::to_string(*port));
    if (const std::string* settings = stored.find("Settings")) com->Settings(*settings);
  } else if (type == "CheckBox") {
    std::optional<int> value = stored.number("Value");
    if (!value || *value < 0 || *value > 2) return;
    if (auto* box = qobject_cast<QCheckBox*>(object)) {
      if (*value == 2) box->setTristate(true);
      box->setCheckState(*value == 2   ? Qt::PartiallyChecked
                         : *value == 1 ? Qt::Checked
                                       : Qt::Unchecked);
    } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
      if (button->isCheckable() && !isOptionButton(object)) button->setChecked(*value == 1);
    }
  } else if (type == "OptionButton") {
    std::optional<int> selected = stored.number("SelIndex");
    if (selected && isOptionButton(object) && arrayIndex(object) == *selected) {
      qobject_cast<QAbstractButton*>(object)->setChecked(true);
    }
  } else if (type == "ComboBox") {
    auto* combo = qobject_cast<QComboBox*>(object);
    std::optional<int> index = stored.number("ListIndex");
    if (combo != nullptr && index && *index >= -1 && *index < combo->count()) {
      combo->setCurrentIndex(*index);
    }
  } else if (type == "ListBox") {
    auto* list = qobject_cast<QListWidget*>(object);
    std::optional<int> index = stored.number("ListIndex");
    if (list != nullptr && index && *index >= -1 && *index < list->count()) {
      list->setCurrentRow(*index);
    }
  } else if (type == "ListView") {
    if (auto* list = qobject_cast<QTreeWidget*>(object)) applyListView(list, stored);
  } else if (type == "TreeView") {
    auto* tree = qobject_cast<QTreeWidget*>(object);
    const std::string* keys = stored.find("Expandet");
    if (tree == nullptr || keys == nullptr) return;
    const std::vector<std::string> expanded = splitList(*keys);
    forEachItem(tree->invisibleRootItem(), [&](QTreeWidgetItem* item) {
      for (const std::string& key : expanded) {
        if (treeKey(item) == key) item->setExpanded(true);
      }
    });
  } else if (type == "Slider") {
    auto* slider = qobject_cast<QSlider*>(object);
    if (slider == nullptr) return;
    if (std::optional<int> value = stored.number("Value")) slider->setValue(*value);
    const std::string* range = stored.find("SelectRange");
    const bool on = range != nullptr && *range == "True";
    slider->setProperty("selectRange", on);
    if (on) {
      if (std::optional<int> start = stored.number("SelStart")) {
        slider->setProperty("selStart", *start);
      }
      if (std::optional<int> length = stored.number("SelLength")) {
        slider->setProperty("selLength", *length);
      }
    }
  } else if (type == "TextBox") {
    const std::string* text = stored.find("Text");
    if (text == nullptr) return;
    if (auto* edit = qobject_cast<QLineEdit*>(object)) {
      edit->setText(withLf(*text));
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(object)) {
      edit->setPlainText(withLf(*text));
    }
  }
}

WindowState windowStateOf(const QWidget* form) {
  if (form->windowState() & Qt::WindowMinimized) return WindowState::kMinimised;
  if (form->windowState() & Qt::WindowMaximized) return WindowState::kMaximised;
  return WindowState::kNormal;
}

// A form whose user may change its size: only such a form gets its stored
// size and window state back.
bool isSizable(const QWidget* form) {
  return form->minimumSize() != form->maximumSize();
}

}  // namespace

bool isTaggedCfg(const QObject* object) {
  return object->property("tag").toString().compare(QString::fromLatin1(kCfgTag),
                                                    Qt::CaseInsensitive) == 0;
}

FormState captureForm(const QWidget* form) {
  FormState state;
  state.name = utf8(form->objectName());
  state.cfg = isTaggedCfg(form);
  state.state = windowStateOf(form);
  state.caption = utf8(form->windowTitle());
  // The position is the frame's, the size the client area's: restoring a
  // window before it is shown (it has no frame yet) then neither moves nor
  // grows it from one run to the next.
  const QRect normal = form->isWindow() && state.state != WindowState::kNormal
                           ? form->normalGeometry()
                           : form->geometry();
  state.left = twips(form->pos().x());
  state.top = twips(form->pos().y());
  state.width = twips(normal.width());
  state.height = twips(normal.height());
  for (const QObject* child : form->findChildren<QObject*>()) {
    if (!isTaggedCfg(child) || child->objectName().isEmpty()) continue;
    if (std::optional<ControlState> control = controlState(child)) {
      state.controls.push_back(std::move(*control));
    }
  }
  return state;
}

void applyForm(QWidget* form, const RestoredForm& restored) {
  if (restored.left && restored.top) form->move(pixels(*restored.left), pixels(*restored.top));
  if (restored.width && restored.height && *restored.width > 0 && *restored.height > 0) {
    form->resize(pixels(*restored.width), pixels(*restored.height));
  }
  if (restored.state) {
    Qt::WindowStates states = form->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (*restored.state == WindowState::kMinimised) states |= Qt::WindowMinimized;
    if (*restored.state == WindowState::kMaximised) states |= Qt::WindowMaximized;
    form->setWindowState(states);
  }
  for (QObject* child : form->findChildren<QObject*>()) {
    if (!isTaggedCfg(child) || child->objectName().isEmpty()) continue;
    if (const ControlState* stored = restored.control(utf8(child->objectName()))) {
      applyControl(child, *stored);
    }
  }
}

void saveForm(CConfig& config, const QWidget* form, int index) {
  config.SaveForm(captureForm(form), index);
}

void restoreForm(CConfig& config, QWidget* form, int index) {
  std::optional<RestoredForm> restored =
      config.RestoreForm(utf8(form->objectName()), isTaggedCfg(form), isSizable(form), index);
  if (restored) applyForm(form, *restored);
  if (form->isWindow()) keepOnScreen(form, restored && restored->left && restored->top);
}

void keepOnScreen(QWidget* form, bool placed) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr || (form->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))) {
    return;
  }
  const QRect area = screen->availableGeometry();
  // A window not shown yet has no size of its own: its layout's wish counts.
  QSize size = form->testAttribute(Qt::WA_Resized) ? form->size() : form->sizeHint();
  if (size.width() > area.width() || size.height() > area.height()) {
    form->resize(size.boundedTo(area.size()).expandedTo(form->minimumSize()));
  }
  if (!placed && !form->testAttribute(Qt::WA_Moved)) {
    form->move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, form->size(), area).topLeft());
    return;
  }
  // A stored place on a screen that has since shrunk or gone: enough of the
  // window stays on the screen to take hold of it.
  constexpr int kGrip = 100;
  const int x = std::clamp(form->x(), area.left() - form->width() + kGrip,
                           std::max(area.left(), area.right() - kGrip));
  const int y = std::clamp(form->y(), area.top(), std::max(area.top(), area.bottom() - kGrip));
  form->move(x, y);
}

}  // namespace viewers
