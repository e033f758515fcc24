#include "modules/ignition/ui/channel_table_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "modules/ignition/channel_table.h"
#include "shell/ui/qt_controls.h"

namespace ignition {

ChannelTableDialog::ChannelTableDialog(DialogStack& stack, IgnitionRecord& record, QWidget* parent)
    : IgnitionDialog(stack, parent), record_(record) {
  setWindowTitle(QStringLiteral("Kanal-Konfiguration"));
  const ChannelGrid grid = channelGrid(record_);
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Zündfolge"), this), 0, 1, 1, kFiringPositions,
                    Qt::AlignHCenter);
  for (int p = 1; p <= kFiringPositions; ++p) {
    layout->addWidget(new QLabel(QString::number(p), this), 1, p, Qt::AlignHCenter);
  }
  for (int c = 1; c <= kChannels; ++c) {
    layout->addWidget(new QLabel(QStringLiteral("Kanal %1").arg(c), this), c + 1, 0);
    for (int p = 1; p <= kFiringPositions; ++p) {
      auto* box = new QCheckBox(this);
      shell::setControlId(box, boxId(c, p));
      box->setChecked(grid.checked[c - 1][p - 1]);
      box->setEnabled(grid.enabled[c - 1][p - 1]);
      boxes_[c - 1][p - 1] = box;
      layout->addWidget(box, c + 1, p, Qt::AlignHCenter);
    }
  }
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("Abbruch"), this);
  shell::setControlId(ok, kCommandOk);
  shell::setControlId(cancel, kCommandCancel);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] { send(kCommandOk); });
  connect(cancel, &QPushButton::clicked, this, [this] { send(kCommandCancel); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons, kChannels + 2, 0, 1, kFiringPositions + 1);
}

int32_t ChannelTableDialog::handleCommand(int32_t command) {
  switch (command) {
    case kCommandOk: {
      ChannelGrid grid;
      for (int c = 0; c < kChannels; ++c) {
        for (int p = 0; p < kFiringPositions; ++p) {
          grid.enabled[c][p] = boxes_[c][p]->isEnabled();
          grid.checked[c][p] = boxes_[c][p]->isChecked();
        }
      }
      takeChannelGrid(record_, grid);
      accept();
      return 0;
    }
    case kCommandCancel:
      reject();
      return 0;
    default:
      return 1;
  }
}

}  // namespace ignition
