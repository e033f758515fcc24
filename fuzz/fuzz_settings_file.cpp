// The program's settings file (shell/settings_file.h) as a user's disk may
// hold it: the fuzz input is the .ini, found where a normal start, a first
// start after an update (taken over from an older version folder) or a
// portable installation finds it. Every key the file names and a few the
// program uses are read, changed and written back; then a second start must
// see what the first one stored.
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/cp1252.h"
#include "shell/settings_file.h"

using fuzz_support::inFolder;
using shell::SettingsFile;

namespace {

enum class Layout { kOwnVersion, kOlderVersion, kPortable };

// Up to a few keys as the file spells them (text before "=" at a line start),
// plus keys the program itself reads.
std::vector<std::string> keysOf(std::string_view text) {
  std::vector<std::string> keys{"ComPort", "PfadZuendung", "Pfad\xC3\xA4nderung"};
  std::set<std::string> seen(keys.begin(), keys.end());
  size_t pos = 0;
  while (pos < text.size() && keys.size() < 10) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    size_t eq = line.find('=');
    if (eq != std::string_view::npos) {
      std::string key = platform::cp1252ToUtf8(line.substr(0, eq));
      if (seen.insert(key).second) keys.push_back(key);
    }
    pos = end + 1;
  }
  return keys;
}

// What a value looks like after a trip through the cp1252 file.
std::string stored(std::string_view utf8) {
  return platform::cp1252ToUtf8(platform::utf8ToCp1252(utf8));
}

void runLayout(std::string_view input, Layout layout) {
  const std::string root = inFolder("settings");
  fuzz_support::freshFolder(root);
  const SettingsFile::Folders folders{root + "/work", root + "/appdata", root + "/documents"};
  std::filesystem::create_directories(folders.working);
  switch (layout) {
    case Layout::kOwnVersion:
      fuzz_support::writeFile(folders.applicationData + "/ZEB/Tunvexa/V6.5.0/Tunvexa.ini", input);
      break;
    case Layout::kOlderVersion:
      fuzz_support::writeFile(folders.applicationData + "/ZEB/Tunvexa/V6.4.0/Tunvexa.ini", input);
      break;
    case Layout::kPortable:
      fuzz_support::writeFile(folders.working + "/Anwendungsdaten/Tunvexa.ini", input);
      break;
  }

  const std::vector<std::string> keys = keysOf(input);
  std::vector<std::string> finalValues;
  {
    SettingsFile settings(folders, "ZEB/Tunvexa", "V6.5.0", "Tunvexa");
    for (size_t i = 0; i < keys.size(); ++i) {
      const std::string& key = keys[i];
      const std::string first = settings.get(key, "Vorgabe");
      FUZZ_CHECK(settings.get(key, "Vorgabe") == first, "a second get differs: key " + key);
      settings.getInt(key, 7);

      // Every other key gets a new value; the rest keep theirs.
      const std::string value =
          i % 2 == 0 ? first + "\xC3\xBC" + std::to_string(i) : std::string(first.size() / 2, 'x');
      if (settings.set(key, value) == 0) {
        FUZZ_CHECK(settings.get(key, "Vorgabe") == stored(value), "a set value is lost: " + key);
      } else {
        FUZZ_CHECK(settings.get(key, "Vorgabe") == first, "a refused set changed: " + key);
      }
      finalValues.push_back(settings.get(key, "Vorgabe"));
    }
    // Beyond the capacity: must be refused, and change nothing.
    FUZZ_CHECK(settings.set(keys[0], std::string(SettingsFile::kCapacity, 'y')) == 1,
               "an oversized value was accepted");
    FUZZ_CHECK(settings.get(keys[0], "Vorgabe") == finalValues[0], "a refused set changed");
    FUZZ_CHECK(settings.flush() == 0, "flush failed in a writable folder");
    FUZZ_CHECK(!settings.changed(), "still changed after a successful flush");
  }

  // A NUL byte ends the text when it is written (the file is damaged
  // anyway); otherwise the next start sees exactly what was stored.
  if (input.find('\0') != std::string_view::npos) return;
  SettingsFile again(folders, "ZEB/Tunvexa", "V6.5.0", "Tunvexa");
  for (size_t i = 0; i < keys.size(); ++i) {
    FUZZ_CHECK(again.get(keys[i], "Vorgabe") == finalValues[i],
               "the next start reads another value for " + keys[i]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::isolateUserFolders();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input = fuzz_support::asText(data, size);
  runLayout(input, Layout::kOwnVersion);
  runLayout(input, Layout::kOlderVersion);
  runLayout(input, Layout::kPortable);
  return 0;
}
