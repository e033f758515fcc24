// The command line of Tunvexa (apps/tunvexa/command_line.h): the input is
// the arguments after the program's name, one per line (a NUL ends an
// argument, as it does in argv). Checked: a port is taken only from 1-99,
// the arguments left for Qt are arguments that were given and not ours,
// and a port that is accepted reaches the settings file's ComPort as the
// program stores it.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "apps/tunvexa/command_line.h"
#include "fuzz/fuzz_support.h"
#include "shell/settings_file.h"

using fuzz_support::inFolder;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::isolateUserFolders();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text = fuzz_support::asText(data, size);
  std::vector<std::string> words{"Tunvexa"};
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  if (!text.empty()) {
    size_t start = 0;
    for (;;) {
      const size_t lf = text.find('\n', start);
      std::string_view word = text.substr(start, lf == std::string_view::npos ? lf : lf - start);
      words.emplace_back(word.substr(0, word.find('\0')));
      if (lf == std::string_view::npos) break;
      start = lf + 1;
    }
  }
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(words.size());

  const tunvexa::Options options = tunvexa::parseCommandLine(argc, argv.data());
  if (options.comPort) {
    FUZZ_CHECK(*options.comPort >= 1 && *options.comPort <= 99,
               "port " + std::to_string(*options.comPort) + " accepted");
  }
  for (const std::string& r : options.rest) {
    FUZZ_CHECK(r != "--com" && r != "--help" && r != "-h", "our own option left for Qt: " + r);
    FUZZ_CHECK(std::find(words.begin() + 1, words.end(), r) != words.end(),
               "an argument for Qt that was never given: " + r);
  }
  FUZZ_CHECK(options.rest.size() < words.size(), "more arguments for Qt than were given");
  if (!options.error.empty() || !options.comPort) return 0;

  // What main() does with the port, in a settings file of the private folder.
  const std::string root = inFolder("settings");
  fuzz_support::freshFolder(root);
  const shell::SettingsFile::Folders folders{root, root + "/appdata", root + "/documents"};
  {
    shell::SettingsFile settings(folders, "ZEB/Tunvexa", "V6.5.0", "Tunvexa");
    FUZZ_CHECK(settings.set("ComPort", std::to_string(*options.comPort)) == 0, "ComPort refused");
  }
  shell::SettingsFile settings(folders, "ZEB/Tunvexa", "V6.5.0", "Tunvexa");
  FUZZ_CHECK(settings.getInt("ComPort", 1) == *options.comPort, "ComPort not stored");
  return 0;
}
