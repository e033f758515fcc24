// The ignition page's settings files (modules/ignition/ignition_file.h): the
// fuzz input is a "*.Ignar" file of any version. Checked: the loader returns
// only the codes it names, a file that is not an ignition file changes
// nothing, and a file that loads is saved in a form that loads back to the
// same state: saving the reloaded state gives the same bytes again.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "modules/ignition/ignition_file.h"
#include "modules/ignition/ignition_state.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"

using fuzz_support::inFolder;

namespace {

// A page right after it was created.
ignition::IgnitionState freshState() {
  ignition::IgnitionState state;
  ignition::initialiseState(state);
  return state;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::isolateUserFolders();
  fuzz_support::freshFolder(inFolder("ignition"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input = inFolder("ignition/input.Ignar");
  const std::string saved = inFolder("ignition/saved.Ignar");
  fuzz_support::writeFile(input, fuzz_support::asText(data, size));

  ignition::IgnitionState state = freshState();
  const std::string before = ignition::ignitionFileText(state);
  const int32_t status = ignition::loadIgnitionFile(state, input);
  switch (status) {
    case 0:
    case texts::kTextOldFileFormat:
      FUZZ_CHECK(state.recordValid, "a loaded file left the record invalid");
      break;
    case texts::kTextFileError:
      FUZZ_CHECK(!state.recordValid, "a damaged file left the record valid");
      return 0;
    case texts::kTextWrongFileSelected:
      FUZZ_CHECK(ignition::ignitionFileText(state) == before, "a foreign file changed the state");
      return 0;
    default:
      fuzz_support::fail("unexpected load status", std::to_string(status));
  }

  FUZZ_CHECK(ignition::saveIgnitionFile(state, saved) == 0, "saving a loaded file failed");
  const std::string first = fuzz_support::readFile(saved);
  FUZZ_CHECK(first == ignition::ignitionFileText(state), "the saved file is not the state's text");

  ignition::IgnitionState reloaded = freshState();
  FUZZ_CHECK(ignition::loadIgnitionFile(reloaded, saved) == 0,
             "a file just saved does not load as the current format");
  const std::string second = ignition::ignitionFileText(reloaded);
  FUZZ_CHECK(second == first, "save, load, save changes the file at " +
                                  fuzz_support::firstDifference(first, second));
  return 0;
}
