#include "modules/ignition/settings_backup.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

#include "modules/ignition/ignition_file.h"
#include "modules/ignition/ignition_io.h"
#include "platform/clock.h"
#include "shell/message_helpers.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"

namespace ignition {

int32_t backupIgnitionSettings(buslink::ModuleLink& link, shell::UserPrompts& prompts,
                               const std::string& folder, std::string& fileName) {
  IgnitionState state;
  initialiseState(state);
  const int32_t r = readIgnition(state, link, prompts);
  shell::closeWaitWindow(link, prompts);
  link.close();
  if (r != texts::kTextReadOk) {
    // A partial read (no PIN) is no backup to rely on.
    const int32_t shown = r == 0 ? texts::kTextCancelled : r;
    if (shown != texts::kTextCancelled) prompts.showMessage(shown);
    return shown;
  }
  std::string serial;
  for (char c : state.serialText) {
    if (std::isdigit(static_cast<unsigned char>(c))) serial += c;
  }
  if (serial.empty()) serial.push_back('0');
  const platform::LocalTime t = platform::localTime();
  char when[40];
  std::snprintf(when, sizeof when, "_%04i-%02i-%02i_%02i%02i%02i", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  // "*.Ignar;..." -> ".Ignar"
  const std::string_view pattern = ignitionFileFilter(state.record.capability).pattern;
  fileName = serial;
  fileName.append(when);
  fileName.append(pattern.substr(1, pattern.find(';') - 1));
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  const int32_t e = saveIgnitionFile(state, (std::filesystem::path(folder) / fileName).string());
  if (e != 0) {
    prompts.showMessage(e);
    return e;
  }
  return 0;
}

}  // namespace ignition
