// The display pages' settings files (modules/displays/): the first input
// byte chooses the kind (bar, gear, tank, shift, poti, and the field texts
// of the oil display, stopwatch and rally timer), the rest is the file.
// Checked: the loader returns only the codes it names, a file of another
// kind changes nothing, and whatever loaded is saved in a form that loads
// back to the same settings: saving them again gives the same bytes.
#include <cstdint>
#include <functional>
#include <string>

#include "fuzz/fuzz_support.h"
#include "modules/displays/bar_display.h"
#include "modules/displays/field_text.h"
#include "modules/displays/gear_display.h"
#include "modules/displays/poti_display.h"
#include "modules/displays/shift_display.h"
#include "modules/displays/tank_display.h"
#include "texts/text_ids.h"

using fuzz_support::inFolder;

namespace {

bool allowed(int32_t status) {
  return status == 0 || status == texts::kTextWrongFileSelected || status == texts::kTextFileError;
}

// A settings file kind: load into `s`, its file text, save.
template <class Settings>
void checkFile(std::string_view bytes, int32_t (*load)(Settings&, const std::string&),
               std::string (*text)(const Settings&),
               int32_t (*save)(const Settings&, const std::string&),
               const std::function<bool(const Settings&)>& roundTrips) {
  const std::string input = inFolder("displays/input");
  const std::string saved = inFolder("displays/saved");
  fuzz_support::writeFile(input, bytes);
  Settings s;
  const std::string before = text(s);
  const int32_t status = load(s, input);
  if (!allowed(status)) fuzz_support::fail("unexpected load status", std::to_string(status));
  if (status == texts::kTextWrongFileSelected) {
    FUZZ_CHECK(text(s) == before, "a foreign file changed the settings");
    return;
  }
  FUZZ_CHECK(save(s, saved) == 0, "saving loaded settings failed");
  const std::string first = fuzz_support::readFile(saved);
  FUZZ_CHECK(first == text(s), "the saved file is not the settings' text");
  Settings reloaded;
  FUZZ_CHECK(load(reloaded, saved) == 0, "a file just saved does not load");
  if (!roundTrips(s)) return;
  const std::string second = text(reloaded);
  FUZZ_CHECK(second == first, "save, load, save changes the file at " +
                                  fuzz_support::firstDifference(first, second));
}

template <class Settings>
void checkFieldText(std::string_view bytes, int32_t (*parse)(std::string_view, Settings&),
                    std::string (*text)(const Settings&)) {
  Settings s;
  const std::string before = text(s);
  const int32_t status = parse(bytes, s);
  if (!allowed(status)) fuzz_support::fail("unexpected parse status", std::to_string(status));
  if (status != 0) {
    FUZZ_CHECK(text(s) == before, "a refused text changed the settings");
    return;
  }
  const std::string first = text(s);
  Settings again;
  FUZZ_CHECK(parse(first, again) == 0, "a field text just written does not parse");
  FUZZ_CHECK(text(again) == first, "write, parse, write changes the text");
}

bool always(const auto&) {
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::isolateUserFolders();
  fuzz_support::freshFolder(inFolder("displays"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes = fuzz_support::asText(data + 1, size - 1);
  using namespace displays;
  switch (data[0] % 8) {
    case 0:
      checkFile<BarDisplaySettings>(bytes, loadBarDisplayFile, barDisplayFileText,
                                    saveBarDisplayFile, always<BarDisplaySettings>);
      break;
    case 1:
      // With "-" for both symbols the reverse value goes to neutral on a
      // load, as the module's table would show it.
      checkFile<GearDisplaySettings>(
          bytes, loadGearDisplayFile, gearDisplayFileText, saveGearDisplayFile,
          [](const GearDisplaySettings& s) { return s.reverseSymbol != s.neutralSymbol; });
      break;
    case 2:
      checkFile<TankDisplaySettings>(bytes, loadTankDisplayFile, tankDisplayFileText,
                                     saveTankDisplayFile, always<TankDisplaySettings>);
      break;
    case 3:
      checkFile<ShiftDisplaySettings>(bytes, loadShiftDisplayFile, shiftDisplayFileText,
                                      saveShiftDisplayFile, always<ShiftDisplaySettings>);
      break;
    case 4:
      checkFile<PotiDisplaySettings>(bytes, loadPotiDisplayFile, potiDisplayFileText,
                                     savePotiDisplayFile, always<PotiDisplaySettings>);
      break;
    case 5:
      checkFieldText<OilDisplaySettings>(bytes, parseOilDisplayText, oilDisplayText);
      break;
    case 6:
      checkFieldText<StopwatchSettings>(bytes, parseStopwatchText, stopwatchText);
      break;
    default:
      checkFieldText<RallyTimerSettings>(bytes, parseRallyTimerText, rallyTimerText);
      break;
  }
  return 0;
}
