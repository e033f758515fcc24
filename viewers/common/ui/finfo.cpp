#include "viewers/common/ui/finfo.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace viewers {

namespace {

// A trigger wheel with its gap and a spark, drawn so the box needs no file.
QPixmap aboutPicture() {
  QPixmap picture(96, 96);
  picture.fill(Qt::white);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF centre(48, 48);
  p.setPen(QPen(QColor(30, 50, 110), 3));
  constexpr int kTeeth = 24;
  for (int i = 0; i < kTeeth - 2; ++i) {
    p.save();
    p.translate(centre);
    p.rotate(360.0 * i / kTeeth);
    p.drawLine(QPointF(0, -30), QPointF(0, -40));
    p.restore();
  }
  p.drawEllipse(centre, 28, 28);
  QPainterPath spark;
  spark.moveTo(52, 26);
  spark.lineTo(40, 50);
  spark.lineTo(50, 50);
  spark.lineTo(42, 72);
  spark.lineTo(60, 44);
  spark.lineTo(50, 44);
  spark.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(240, 170, 0));
  p.drawPath(spark);
  return picture;
}

}  // namespace

QString aboutText(const QString& title, const ProductInfo& product) {
  return title +
         QStringLiteral("\r\nV %1.%2.%3\r\n\r\n")
             .arg(product.major)
             .arg(product.minor)
             .arg(product.revision) +
         QStringLiteral(
             "ZEB Zündungs- und Fahrzeugelektronik\r\n"
             "Werkstattwerkzeuge für den ZEB-Modulbus");
}

FInfo::FInfo(const QString& title, const ProductInfo& product, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      text_(new QLabel(this)) {
  if (mainWindow != nullptr) {
    setWindowTitle(mainWindow->windowTitle());
    setWindowIcon(mainWindow->windowIcon());
  }
  setModal(true);
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);

  auto* picture = new QLabel(this);
  picture->setPixmap(aboutPicture());
  picture->setAlignment(Qt::AlignCenter);

  QString shown = aboutText(title, product);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text_->setText(shown);
  text_->setAlignment(Qt::AlignCenter);
  QFont bold = text_->font();
  bold.setBold(true);
  text_->setFont(bold);

  auto* close = new QPushButton(QStringLiteral("Schliessen"), this);
  close->setObjectName(QStringLiteral("Schliessen"));
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 16, 24, 16);
  layout->setSpacing(12);
  layout->addWidget(picture);
  layout->addWidget(text_);
  layout->addWidget(close, 0, Qt::AlignHCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace viewers
