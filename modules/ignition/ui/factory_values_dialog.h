#pragma once

#include <cstdint>
#include <string>

#include "modules/ignition/ignition_record.h"
#include "modules/ignition/ui/ignition_dialog.h"
#include "shell/ui/dialog_table.h"

namespace ignition {

// "Zündung Werks-Einstellungen": what the maker set in the module, read
// only: the internal limiter, the serial number, the PIN, the hardware type.
class FactoryValuesDialog : public IgnitionDialog {
 public:
  // One of the ignition's dialog keys that no other dialog uses.
  static constexpr int32_t kKey = 152;
  static constexpr int32_t kLimiterStart = 3901;
  static constexpr int32_t kLimiterStep = 3902;
  static constexpr int32_t kSerial = 3903;
  static constexpr int32_t kPin = 3904;
  static constexpr int32_t kTypeCode = 3905;
  static constexpr int32_t kTypeName = 3906;

  FactoryValuesDialog(DialogStack& stack, const IgnitionRecord& record, QWidget* parent);

  int32_t handleCommand(int32_t command) override;

 private:
  shell::DialogTable table_;
};

// The texts the view shows.
struct FactoryValueTexts {
  std::string limiterStart, limiterStep, serial, pin, typeCode, typeName;
};
FactoryValueTexts factoryValueTexts(const IgnitionRecord& r);

}  // namespace ignition
