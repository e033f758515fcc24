#include "viewers/common/ui/feinstell.h"

#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "viewers/common/ui/uc_com.h"
#include "viewers/common/ui/uc_com_list_view.h"

namespace viewers {

namespace {

constexpr const char* kColourLabels[kDisplayColourCount] = {
    "Fensterhintergrund", "Hintergrund Oszi", "Hintergrund Kanal 1", "Hintergrund Kanal 2",
    "Linie Kanal 1",      "Linie Kanal 2",    "Markierung"};

constexpr int kMinCylinders = 2;
constexpr int kMaxCylinders = 8;

}  // namespace

QColor colourOf(uint32_t value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

uint32_t valueOf(const QColor& colour) {
  return static_cast<uint32_t>(colour.red()) + 256u * static_cast<uint32_t>(colour.green()) +
         65536u * static_cast<uint32_t>(colour.blue());
}

FEinstell::FEinstell(ucCOM& com, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      com_(com),
      portList_(new ucComListView(this)),
      portFrame_(new QGroupBox(QStringLiteral("COM-Port"), this)) {
  setWindowTitle(QStringLiteral("Einstellungen"));
  setModal(true);
  auto* portLayout = new QVBoxLayout(portFrame_);
  portLayout->addWidget(portList_);
  portList_->setMinimumSize(420, 150);
}

FEinstell::FEinstell(ucCOM& com, ColourHost& colours, QWidget* owner) : FEinstell(com, owner) {
  colourHost_ = &colours;
  kept_ = colours.displayColours();
  auto* frame = new QGroupBox(QStringLiteral("Farben"), this);
  auto* grid = new QGridLayout(frame);
  for (int i = 0; i < kDisplayColourCount; ++i) {
    auto* square = new QToolButton(frame);
    square->setObjectName(QStringLiteral("ZFX%1").arg(i));
    square->setFixedSize(22, 22);
    square->setAutoRaise(false);
    colourFields_[static_cast<size_t>(i)] = square;
    showColour(i, kept_[static_cast<size_t>(i)]);
    connect(square, &QToolButton::clicked, this, [this, i] { pickColour(i); });
    grid->addWidget(square, i % 4, (i / 4) * 2);
    grid->addWidget(new QLabel(QString::fromUtf8(kColourLabels[i]), frame), i % 4, (i / 4) * 2 + 1);
  }
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  finishLayout(frame);
}

FEinstell::FEinstell(ucCOM& com, int& cylinders, QWidget* owner) : FEinstell(com, owner) {
  cylinders_ = &cylinders;
  cylinderFrame_ = new QGroupBox(QStringLiteral("Druckanzeigen/Zylinderanzahl"), this);
  cylinderList_ = new QComboBox(cylinderFrame_);
  for (int n = kMinCylinders; n <= kMaxCylinders; ++n) {
    cylinderList_->addItem(QStringLiteral("%1 Zylinder").arg(n));
  }
  cylinderList_->setCurrentIndex(cylinders - kMinCylinders);
  auto* layout = new QHBoxLayout(cylinderFrame_);
  layout->addWidget(cylinderList_);
  layout->addStretch(1);
  finishLayout(cylinderFrame_);
}

// Both variants open the same way: the ports as they are now, the current
// one checked, and a port in use cannot be changed.
void FEinstell::finishLayout(QWidget* variantFrame) {
  auto* ok = new QPushButton(QStringLiteral("Ok"), this);
  ok->setObjectName(QStringLiteral("Ok"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
  cancel->setObjectName(QStringLiteral("Abbrechen"));
  connect(ok, &QPushButton::clicked, this, &FEinstell::takeOk);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(portFrame_);
  layout->addWidget(variantFrame);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  portList_->SetList(com_.COMPortsErmitteln());
  portList_->SetCOMPort(com_.GetCOMPort());
  if (com_.PortIsOpen()) {
    portList_->Locked(true);
    if (cylinderFrame_ != nullptr) {
      portFrame_->setEnabled(false);
      cylinderFrame_->setEnabled(false);
      cylinderList_->setEnabled(false);
    }
  }
}

QToolButton* FEinstell::colourField(int index) const {
  if (index < 0 || index >= kDisplayColourCount) return nullptr;
  return colourFields_[static_cast<size_t>(index)];
}

void FEinstell::showColour(int index, uint32_t colour) {
  QToolButton* square = colourFields_[static_cast<size_t>(index)];
  square->setStyleSheet(QStringLiteral("QToolButton { background-color: %1; border: 1px solid "
                                       "black; }")
                            .arg(colourOf(colour).name()));
  square->setProperty("colour", static_cast<uint>(colour));
}

void FEinstell::pickColour(int index) {
  DisplayColours colours = colourHost_->displayColours();
  const uint32_t preset = colours[static_cast<size_t>(index)];
  QColorDialog dialog(colourOf(preset), this);
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  const uint32_t chosen = dialog.exec() == QDialog::Accepted && dialog.selectedColor().isValid()
                              ? valueOf(dialog.selectedColor())
                              : preset;
  colours[static_cast<size_t>(index)] = chosen;
  showColour(index, chosen);
  colourHost_->setDisplayColours(colours);
  colourHost_->redrawNow();
}

void FEinstell::takeOk() {
  com_.COMPort(portList_->GetCOMPort());
  if (cylinders_ != nullptr && cylinderList_->currentIndex() >= 0) {
    *cylinders_ = cylinderList_->currentIndex() + kMinCylinders;
  }
  if (colourHost_ != nullptr) kept_ = colourHost_->displayColours();
  accept();
}

// Every way of closing ends here: colours not confirmed by "Ok" go back.
void FEinstell::done(int result) {
  if (colourHost_ != nullptr) {
    colourHost_->setDisplayColours(kept_);
    colourHost_->redrawNow();
  }
  QDialog::done(result);
}

}  // namespace viewers
