#include "shell/ui/info_page.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include "shell/page_registry.h"
#include "shell/ui/qt_controls.h"

namespace shell {

InfoPage::InfoPage() : ModulePage(kPageInfo) {}

QWidget* InfoPage::createWidget(QWidget* parent) {
  auto* page = new QWidget(parent);
  auto* layout = new QVBoxLayout(page);
  auto* product = new QLabel(QStringLiteral("Tunvexa"), page);
  QFont big = product->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.5);
  product->setFont(big);
  product->setAlignment(Qt::AlignCenter);
  auto* version = new QLabel(page);
  setControlId(version, kVersionText);
  version->setAlignment(Qt::AlignCenter);
  version->setText(QStringLiteral("V 6.5.0 vom 27.09.2019"));
  layout->addStretch(1);
  layout->addWidget(product);
  layout->addWidget(version);
  layout->addStretch(2);
  return page;
}

}  // namespace shell
