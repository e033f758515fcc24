#pragma once

#include <QDialog>

#include "viewers/trigger/module_values.h"

class QTreeWidget;
class QPushButton;

namespace trigger {

// "Modulinformation": the module values as a two-column list.
class FModulInfo : public QDialog {
  Q_OBJECT

 public:
  FModulInfo(const ModuleValues& values, QWidget* owner);

  QTreeWidget* list() const { return list_; }
  QPushButton* closeButton() const { return close_; }

 private:
  QTreeWidget* list_;
  QPushButton* close_;
};

}  // namespace trigger
