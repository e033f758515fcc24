#pragma once

#include <cstdint>

#include "modules/ignition/ignition_record.h"
#include "modules/ignition/ui/ignition_dialog.h"

class QCheckBox;

namespace ignition {

// "Kanal-Konfiguration" (162): which output channel fires at which position
// of the firing order.
class ChannelTableDialog : public IgnitionDialog {
 public:
  static constexpr int32_t kKey = 162;
  static constexpr int32_t kFirstBox = 3700;

  ChannelTableDialog(DialogStack& stack, IgnitionRecord& record, QWidget* parent);

  int32_t handleCommand(int32_t command) override;
  // Channel and firing-order position from 1.
  static constexpr int32_t boxId(int channel, int position) {
    return kFirstBox + 8 * (channel - 1) + (position - 1);
  }

 private:
  IgnitionRecord& record_;
  QCheckBox* boxes_[8][8] = {};
};

}  // namespace ignition
