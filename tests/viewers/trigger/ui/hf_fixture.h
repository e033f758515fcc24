#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tests/support/ui_test_support.h"
#include "tests/viewers/common/viewers_test_support.h"
#include "viewers/common/command_line.h"
#include "viewers/common/config.h"
#include "viewers/common/viewer_folders.h"
#include "viewers/trigger/trigger_messages.h"
#include "viewers/trigger/ui/hf.h"
#include "viewers/trigger/ui/taktora_product.h"

namespace trigger_ui_test {

// Boxes recorded instead of shown; a titled one is kept as "title: text".
class RecordingTriggerMessages : public trigger::TriggerMessages {
 public:
  void show(const std::string& text, viewers::MessageIcon icon) override {
    shown.emplace_back(text, icon);
  }
  bool askYesNo(const std::string& text) override {
    shown.emplace_back(text, viewers::MessageIcon::kQuestion);
    return answer;
  }
  void showTitled(const std::string& title, const std::string& text,
                  viewers::MessageIcon icon) override {
    shown.emplace_back(title + ": " + text, icon);
  }
  bool saw(const std::string& text) const {
    for (const auto& s : shown) {
      if (s.first == text) return true;
    }
    return false;
  }

  std::vector<std::pair<std::string, viewers::MessageIcon>> shown;
  bool answer = false;
};

// The folders of one private installation; every window made from it
// shares its settings file and its data folder.
inline viewers::ViewerFolders foldersIn(const std::string& root) {
  return {root + "/bin", root + "/data", root + "/all", root + "/docs"};
}

// One run of the program in process, after its load handler.
struct TaktoraRun {
  TaktoraRun(const std::string& root, const std::string& commandLine, bool answer = false)
      : config(trigger::taktoraProduct(), foldersIn(root), messages),
        line(commandLine, messages),
        window(config, line, messages, trigger::taktoraProduct(), foldersIn(root)) {
    messages.answer = answer;
    window.resize(886, 642);
    loaded = window.load();
  }

  RecordingTriggerMessages messages;
  viewers::CConfig config;
  viewers::CCommandLine line;
  trigger::HF window;
  bool loaded = false;
};

}  // namespace trigger_ui_test
