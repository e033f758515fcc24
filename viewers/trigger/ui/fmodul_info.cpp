#include "viewers/trigger/ui/fmodul_info.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace trigger {

FModulInfo::FModulInfo(const ModuleValues& v, QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("FModulInfo"));
  setWindowTitle(QStringLiteral("Modulinformation"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("ListView1"));
  list_->setRootIsDecorated(false);
  list_->setHeaderLabels({QStringLiteral("Bezeichnung"), QStringLiteral("Wert")});
  const std::pair<const char*, std::string> rows[] = {
      {"Modultyp", v.ModTyp},
      {"Version", v.ModVersion},
      {"Serien-Nr.", v.ModSerienNr},
      {"Zylinder", std::to_string(v.ModZylinder)},
      {"Takte", std::to_string(v.ModTakte)},
      {"KwGeberMode", std::to_string(v.ModKwGeber)},
      {"KwZ\xC3\xA4hne", std::to_string(v.ModKwZaehne)},
      {"KwL\xC3\xBC"
       "cke",
       std::to_string(v.ModKwLuecke)},
      {"Leertakt", std::to_string(v.ModLeertakt)},
      {"ZylViaFlg", std::to_string(v.ModZylinder1)},
  };
  for (const auto& [name, value] : rows) {
    auto* item =
        new QTreeWidgetItem(list_, {QString::fromUtf8(name), QString::fromStdString(value)});
    item->setData(0, Qt::UserRole, QStringLiteral("K%1").arg(list_->topLevelItemCount() - 1));
  }
  list_->resizeColumnToContents(0);
  list_->setColumnWidth(0, list_->columnWidth(0) + 24);
  list_->setMinimumSize(300, 250);

  close_ = new QPushButton(QStringLiteral("Schliessen"), this);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close_);
  layout->addLayout(buttons);
  // A fixed border, centred on the main window.
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace trigger
