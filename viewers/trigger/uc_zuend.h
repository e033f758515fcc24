#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "viewers/spark/viewer_port.h"
#include "viewers/trigger/module_values.h"
#include "viewers/trigger/recording.h"

namespace viewers {
class CErrLog;
}

namespace trigger {

inline constexpr uint8_t kOsciFrameStart = 0xEE;
inline constexpr int kCommandCount = 13;
inline constexpr int kOsziCommand = 13;
inline constexpr int64_t kAnswerTimeoutMicros = 100000;
inline constexpr int64_t kMonitorMicros = 500000;
inline constexpr const char* kCommandSettings = "9600,n,8,1";

// The frame of link command 1-13 (bytes 0-2 and the check byte).
std::array<uint8_t, 4> commandFrame(int command);

// The viewer's connection to the ignition module: reads its identity and
// trigger configuration, keeps it in its oscilloscope mode ("Oszimode") and
// decodes the oscilloscope frames into the window's recording. Everything
// runs on the window thread; waits let its events run through the pump, so
// received bytes and timer ticks are handled inside them.
class ucZuend {
 public:
  ucZuend(spark::ViewerPort& port, spark::EventPump& pump, Recording& recording,
          viewers::CErrLog* log = nullptr);

  ModuleValues& values() { return values_; }
  const ModuleValues& values() const { return values_; }
  bool ModInfoOk() const { return modInfoOk_; }
  bool DatenempfangOszimode() const { return datenempfangOszimode_; }
  bool SendenAktiv() const { return sendenAktiv_; }
  bool ignoring() const { return ignore_; }
  int activeCommand() const { return activeCommand_; }
  bool monitorRunning() const { return monitorRunning_; }

  bool GetModulInfo();
  void OszimodeAktivieren();
  void IgnoriereDatenempfang(bool ignore) { ignore_ = ignore; }
  void Abbruch();
  void Reset();
  void ucCOM_Receive(const uint8_t* bytes, size_t count);
  void ucCOM_Receive(const std::vector<uint8_t>& bytes) {
    ucCOM_Receive(bytes.data(), bytes.size());
  }
  // Sends one frame and waits for its answer, at most 0.1 s.
  bool SendData(int command);
  // The monitor timer: call it often (every few ms to 100 ms); once 500 ms
  // passed without a decoded oscilloscope frame it repeats the switch
  // command.
  void monitorTick();

 private:
  void takeAnswer(const uint8_t* d);
  void log(const std::string& text);

  spark::ViewerPort& port_;
  spark::EventPump& pump_;
  Recording& recording_;
  viewers::CErrLog* log_;
  ModuleValues values_;
  bool modInfoOk_ = false;
  bool datenempfangOszimode_ = false;
  bool sendenAktiv_ = false;
  bool abort_ = false;
  bool ignore_ = false;
  int activeCommand_ = 0;
  std::vector<uint8_t> receiveBuffer_;
  std::vector<uint8_t> sendBuffer_;
  bool monitorRunning_ = false;
  int64_t monitorStart_ = 0;
};

}  // namespace trigger
