#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "viewers/common/port_list.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace viewers {

// The ports of the PC with a check box per row; the settings dialog lets the
// user pick the port here. Exactly one row is checked at a time, and a locked
// list (the port is in use) keeps the row it has.
class ucComListView : public QWidget {
  Q_OBJECT

 public:
  explicit ucComListView(QWidget* parent = nullptr);

  // Rows "K1", "K2", ... with the columns "Port", "Beschreibung", "Version",
  // "Serien-Nr.", "Status".
  void SetList(const std::vector<PortEntry>& ports);
  // The "Port" text of the checked row; empty when none is checked.
  std::string GetCOMPort() const;
  // Checks the row of that port as a user would, also in a locked list.
  bool SetCOMPort(const std::string& port);
  void Locked(bool flag);
  bool isLocked() const { return locked_; }

  // The key of the checked row ("K3"), empty when none.
  const std::string& checkedKey() const { return checkedKey_; }
  QTreeWidget* list() const { return list_; }

 private:
  void userChecked(QTreeWidgetItem* item, int column);
  void checkOnly(QTreeWidgetItem* row);
  QTreeWidgetItem* rowOfKey(const std::string& key) const;
  void applyColours();

  QTreeWidget* list_;
  bool locked_ = false;
  std::string checkedKey_;
  bool updating_ = false;
};

}  // namespace viewers
