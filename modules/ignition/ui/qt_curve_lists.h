#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QListWidget;

namespace ignition {

// Replaces the list control's rows by a curve's entries (nothing selected).
void showEntries(QListWidget* list, const std::vector<std::string>& entries);
// The selected row, -1 when nothing is selected.
int selectedRow(const QListWidget* list);
// Selects `row` (nothing for -1 or a row the list does not have).
void selectRow(QListWidget* list, int row);

// Two curve lists edited by one set of buttons: the list that gets the focus
// becomes the active one and the other loses its selection, so the buttons
// never act on an entry the user does not see selected.
class ListPair : public QObject {
 public:
  ListPair(QListWidget* first, QListWidget* second, int32_t firstId, int32_t secondId,
           QObject* parent);

  int32_t active() const { return active_; }
  QListWidget* activeList() const { return active_ == firstId_ ? first_ : second_; }
  // As if `id`'s list had got the focus.
  void activate(int32_t id);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QListWidget* first_;
  QListWidget* second_;
  int32_t firstId_;
  int32_t secondId_;
  int32_t active_;
};

}  // namespace ignition
