#include "modules/ignition/ui/qt_curve_lists.h"

#include <QEvent>
#include <QListWidget>

namespace ignition {

void showEntries(QListWidget* list, const std::vector<std::string>& entries) {
  list->clear();
  for (const std::string& e : entries) list->addItem(QString::fromStdString(e));
}

int selectedRow(const QListWidget* list) {
  const QList<QListWidgetItem*> selected = list->selectedItems();
  return selected.isEmpty() ? -1 : list->row(selected.front());
}

void selectRow(QListWidget* list, int row) {
  if (row < 0 || row >= list->count()) return;
  list->setCurrentRow(row);
  list->item(row)->setSelected(true);
}

ListPair::ListPair(QListWidget* first, QListWidget* second, int32_t firstId, int32_t secondId,
                   QObject* parent)
    : QObject(parent),
      first_(first),
      second_(second),
      firstId_(firstId),
      secondId_(secondId),
      active_(firstId) {
  first_->installEventFilter(this);
  second_->installEventFilter(this);
}

void ListPair::activate(int32_t id) {
  active_ = id == secondId_ ? secondId_ : firstId_;
  QListWidget* other = active_ == firstId_ ? second_ : first_;
  other->clearSelection();
}

bool ListPair::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (watched == first_) activate(firstId_);
    if (watched == second_) activate(secondId_);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace ignition
