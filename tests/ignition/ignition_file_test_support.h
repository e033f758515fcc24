#pragma once

#include <string>

#include "modules/ignition/ignition_file.h"
#include "modules/ignition/ignition_state.h"
#include "tests/support/temp_folder.h"

namespace ignition_test {

using test_files::readFile;
using test_files::TempFolder;
using test_files::writeFile;

inline std::string fixture(const std::string& name) {
  return std::string(TUNVEXA_TEST_DATA) + "/" + name;
}

// A page as it is right after it was created.
inline ignition::IgnitionState freshState() {
  ignition::IgnitionState s;
  ignition::initialiseState(s);
  return s;
}

// Loads `bytes` as a file and returns the status.
inline int32_t loadBytes(ignition::IgnitionState& s, const std::string& bytes) {
  TempFolder folder;
  writeFile(folder / "file.Ignar", bytes);
  return ignition::loadIgnitionFile(s, folder / "file.Ignar");
}

// Everything a load can change, in one comparable text.
inline std::string loadedContent(const ignition::IgnitionState& s) {
  ignition::IgnitionState copy = s;
  copy.dumpPresent = false;
  return ignition::ignitionFileText(copy);
}

}  // namespace ignition_test
