#pragma once

#include <QByteArray>
#include <QTimer>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "tests/support/ui_test_support.h"
#include "tests/viewers/common/viewers_test_support.h"
#include "tests/viewers/spark/spark_test_packets.h"
#include "viewers/common/command_line.h"
#include "viewers/common/config.h"
#include "viewers/common/viewer_folders.h"
#include "viewers/spark/ui/funkora_product.h"
#include "viewers/spark/ui/hf.h"

namespace spark_ui_test {

// The folders of one private installation; every window of a test that is
// made from it shares its settings file.
inline viewers::ViewerFolders foldersIn(const std::string& root) {
  return {root + "/bin", root + "/data", root + "/all", root + "/docs"};
}

// One run of the program in process: settings, command line, messages that
// are recorded instead of shown, and the window after its load handler.
struct FunkoraRun {
  FunkoraRun(const std::string& root, const std::string& commandLine)
      : config(spark::funkoraProduct(), foldersIn(root), messages),
        line(commandLine, messages),
        window(config, line, messages, spark::funkoraProduct()) {
    loaded = window.load();
  }

  viewers_test::RecordingMessages messages;
  viewers::CConfig config;
  viewers::CCommandLine line;
  spark::HF window;
  bool loaded = false;
};

inline QByteArray bytes(const std::vector<uint8_t>& v) {
  return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

// Log-mode packets of an engine that fires every `delta` ticks. The stamps
// go on from packet to packet and wrap after 65 535 ticks, as the chart
// counts a wrap, so every interval reads back exactly.
class Engine {
 public:
  QByteArray packet(std::array<uint32_t, 4> deltas, bool corrupt = false) {
    std::array<uint16_t, 4> stamps{};
    for (size_t i = 0; i < 4; ++i) {
      stamp_ = static_cast<uint16_t>((stamp_ + deltas[i]) % 65535u);
      stamps[i] = stamp_;
    }
    return bytes(spark_test::packet(stamps, corrupt));
  }
  QByteArray steady(uint32_t delta, bool corrupt = false) {
    return packet({delta, delta, delta, delta}, corrupt);
  }

 private:
  uint16_t stamp_ = 1000;
};

}  // namespace spark_ui_test
