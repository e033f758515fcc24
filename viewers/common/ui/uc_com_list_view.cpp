#include "viewers/common/ui/uc_com_list_view.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace viewers {

namespace {

enum Column { kPort, kDescription, kVersion, kSerial, kStatus, kColumnCount };

constexpr int kKeyRole = Qt::UserRole;

QString qt(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

ucComListView::ucComListView(QWidget* parent) : QWidget(parent), list_(new QTreeWidget(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(list_);
  list_->setColumnCount(kColumnCount);
  list_->setHeaderLabels({QStringLiteral("Port"), QStringLiteral("Beschreibung"),
                          QStringLiteral("Version"), QStringLiteral("Serien-Nr."),
                          QStringLiteral("Status")});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->header()->setStretchLastSection(false);
  list_->setColumnWidth(kPort, 70);
  list_->setColumnWidth(kDescription, 130);
  list_->setColumnWidth(kVersion, 60);
  list_->setColumnWidth(kSerial, 80);
  list_->setColumnWidth(kStatus, 55);
  connect(list_, &QTreeWidget::itemChanged, this, &ucComListView::userChecked);
  // A locked list shows no selection.
  connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] {
    if (locked_ && !list_->selectedItems().isEmpty()) list_->clearSelection();
  });
}

void ucComListView::SetList(const std::vector<PortEntry>& ports) {
  updating_ = true;
  list_->clear();
  checkedKey_.clear();
  for (size_t i = 0; i < ports.size(); ++i) {
    const PortEntry& port = ports[i];
    auto* row = new QTreeWidgetItem(list_);
    row->setData(kPort, kKeyRole, QStringLiteral("K%1").arg(i + 1));
    row->setText(kPort, QStringLiteral("COM%1").arg(port.number));
    row->setText(kDescription, qt(port.description));
    row->setText(kVersion, qt(port.version));
    row->setText(kSerial, qt(port.serial));
    row->setText(kStatus, port.busy ? QStringLiteral("belegt") : QStringLiteral("frei"));
    row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
    row->setCheckState(kPort, Qt::Unchecked);
  }
  updating_ = false;
  applyColours();
}

std::string ucComListView::GetCOMPort() const {
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* row = list_->topLevelItem(i);
    if (row->checkState(kPort) == Qt::Checked) return row->text(kPort).toStdString();
  }
  return {};
}

bool ucComListView::SetCOMPort(const std::string& port) {
  bool matched = false;
  const QString wanted = qt(port);
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* row = list_->topLevelItem(i);
    if (row->text(kPort) == wanted) {
      checkOnly(row);
      matched = true;
    }
  }
  return matched;
}

void ucComListView::Locked(bool flag) {
  locked_ = flag;
  if (locked_) list_->clearSelection();
  applyColours();
}

void ucComListView::userChecked(QTreeWidgetItem* item, int column) {
  if (updating_ || column != kPort) return;
  QTreeWidgetItem* acted = item;
  if (item->checkState(kPort) != Qt::Checked) {
    // Taking the check off is a choice of "no port"; a locked list keeps its
    // row all the same.
    if (!locked_) {
      checkedKey_.clear();
      return;
    }
  }
  if (locked_) {
    acted = rowOfKey(checkedKey_);
    if (acted == nullptr) {
      updating_ = true;
      item->setCheckState(kPort, Qt::Unchecked);
      updating_ = false;
      return;
    }
  }
  checkOnly(acted);
}

void ucComListView::checkOnly(QTreeWidgetItem* row) {
  updating_ = true;
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* other = list_->topLevelItem(i);
    other->setCheckState(kPort, other == row ? Qt::Checked : Qt::Unchecked);
  }
  updating_ = false;
  checkedKey_ = row->data(kPort, kKeyRole).toString().toStdString();
}

QTreeWidgetItem* ucComListView::rowOfKey(const std::string& key) const {
  if (key.empty()) return nullptr;
  const QString wanted = qt(key);
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* row = list_->topLevelItem(i);
    if (row->data(kPort, kKeyRole).toString() == wanted) return row;
  }
  return nullptr;
}

void ucComListView::applyColours() {
  updating_ = true;
  const QColor normal = palette().color(QPalette::WindowText);
  const QColor grey = palette().color(QPalette::Disabled, QPalette::WindowText);
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* row = list_->topLevelItem(i);
    const bool busy = row->text(kStatus) == QStringLiteral("belegt");
    const QColor colour = locked_ ? grey : busy ? QColor(Qt::red) : normal;
    for (int c = 0; c < kColumnCount; ++c) row->setForeground(c, colour);
  }
  updating_ = false;
  list_->viewport()->update();
}

}  // namespace viewers
