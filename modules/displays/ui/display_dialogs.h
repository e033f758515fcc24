#pragma once

#include <QDialog>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "modules/displays/gear_display.h"
#include "modules/displays/rally_timer.h"
#include "modules/displays/shift_display.h"
#include "modules/displays/tank_display.h"
#include "shell/ui/dialog_table.h"

namespace shell {
class UserPrompts;
}

// The display pages' own modal dialogs: teach-ins, live windows and the
// list editors. Each is a table of controls; the teach-ins poll the module
// every 100 ms while they are open.
namespace displays {

namespace dialog_id {
constexpr int32_t kOk = 1;
constexpr int32_t kCancel = 2;
constexpr int32_t kSymbol = 2001;  // "Gang"
constexpr int32_t kValue = 2002;   // "Wert"
constexpr int32_t kSkip = 2003;
constexpr int32_t kNext = 2004;
constexpr int32_t kLitres1 = 2010;
constexpr int32_t kLitres2 = 2011;
constexpr int32_t kRaw1 = 2012;
constexpr int32_t kRaw2 = 2013;
constexpr int32_t kPointLitres = 2020;
constexpr int32_t kPointValue = 2021;
constexpr int32_t kFraction = 2030;       // five read-only fields from here
constexpr int32_t kFractionRadio = 2040;  // five radio buttons from here
constexpr int32_t kNumber = 2050;
constexpr int32_t kTime = 2051;
constexpr int32_t kUnit = 2052;
}  // namespace dialog_id

// A dialog built from its control table.
class TableDialog : public QDialog {
 public:
  TableDialog(std::span<const shell::ControlRow> rows, shell::UserPrompts& prompts,
              QWidget* parent);
  shell::DialogTable& table() { return table_; }
  // The commands of its controls.
  virtual void command(int32_t id) = 0;

 protected:
  shell::DialogTable table_;
};

// "Gänge lernen".
class GearTeachDialog : public TableDialog {
 public:
  GearTeachDialog(GearTeachIn& teach, shell::UserPrompts& prompts, QWidget* parent);
  void command(int32_t id) override;

 private:
  void showStep();
  void finish();
  GearTeachIn& teach_;
  QTimer timer_;
};

// "Tankgeber lernen".
class TankTeachDialog : public TableDialog {
 public:
  TankTeachDialog(TankTeachIn& teach, shell::UserPrompts& prompts, QWidget* parent);
  void command(int32_t id) override;

 private:
  TankTeachIn& teach_;
  QTimer timer_;
};

// "Tankgeber bearbeiten": one point of a list; `index` is the point being
// edited (none for "Einfügen").
class TankPointDialog : public TableDialog {
 public:
  TankPointDialog(TankCalibrationList& list, std::optional<size_t> index,
                  shell::UserPrompts& prompts, QWidget* parent);
  void command(int32_t id) override;

 private:
  TankCalibrationList& list_;
  std::optional<size_t> index_;
  shell::UserPrompts& prompts_;
};

// "learn extern display".
class TankGaugeDialog : public TableDialog {
 public:
  TankGaugeDialog(TankGaugeTeachIn& teach, shell::UserPrompts& prompts, QWidget* parent);
  void command(int32_t id) override;

 private:
  TankGaugeTeachIn& teach_;
};

// "Drehzahl-Anzeige" and "Messwert-Anzeige".
class LiveValueDialog : public TableDialog {
 public:
  LiveValueDialog(LiveValueWindow& window, const QString& title, const QString& unit,
                  shell::UserPrompts& prompts, QWidget* parent);
  void command(int32_t id) override;

 private:
  LiveValueWindow& window_;
  QTimer timer_;
};

// "Rundenzeit bearbeiten".
class RallyEditDialog : public TableDialog {
 public:
  RallyEditDialog(std::vector<RallyLapTime>& targets, size_t index, shell::UserPrompts& prompts,
                  QWidget* parent);
  void command(int32_t id) override;

 private:
  std::vector<RallyLapTime>& targets_;
  size_t index_;
  shell::UserPrompts& prompts_;
};

}  // namespace displays
