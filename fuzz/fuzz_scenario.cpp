// The simulator's scenario files (sim/scenario_parser.h): the fuzz input is
// the file's text. Checked: a text is either a scenario or refused with a
// message; a scenario the parser accepts is one the bus accepts; the file
// loader agrees with the text parser. An accepted scenario is then put on a
// bus and a few frames are sent to every module it may hold, with its faults
// and timed injections, to see that the models cope with what the file set.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "sim/bus.h"
#include "sim/frame.h"
#include "sim/scenario.h"
#include "sim/scenario_parser.h"

using fuzz_support::inFolder;

namespace {

void drain(sim::Bus& bus) {
  FUZZ_CHECK(bus.outputSize() <= sim::Bus::kOutputLimit, "the PC's buffer grew past its size");
  while (bus.hasOutput()) bus.takeOutput();
}

void sendFrame(sim::Bus& bus, uint8_t b0, uint8_t b1, uint8_t b2, int baud, int64_t& nowUs) {
  for (uint8_t byte : sim::makeFrame(b0, b1, b2)) {
    nowUs += 1042;
    bus.advanceTo(nowUs);
    bus.receive(byte, baud, nowUs);
  }
  drain(bus);
}

// Every command once to every address that may hold a module, at the rate
// the modules listen at, then the serial search, a wake pulse and some time.
void exercise(sim::Bus& bus) {
  int64_t nowUs = 0;
  const int baud = bus.moduleBaud();
  for (int address = 0x20; address <= 0xF0; address += 0x10) {
    for (uint8_t command = 0; command < 16; ++command) {
      sendFrame(bus, static_cast<uint8_t>(address | command), 0x05, 0x41, baud, nowUs);
    }
  }
  sendFrame(bus, 0xEE, 0x03, 0x00, baud, nowUs);  // vehicle information area
  sendFrame(bus, 0xE3, 0x10, 0x22, baud, nowUs);
  sendFrame(bus, 0xEE, 0x04, 0x00, baud, nowUs);
  sendFrame(bus, 0x1F, 0x00, 0x00, baud, nowUs);  // serial search
  for (uint8_t bit = 0; bit < 28; ++bit) sendFrame(bus, 0x14, bit, bit & 1, baud, nowUs);
  sendFrame(bus, 0x16, 0x02, 0x12, baud, nowUs);
  sendFrame(bus, 0x17, 0x34, 0x56, baud, nowUs);
  sendFrame(bus, 0x18, 0x56, 0x78, baud, nowUs);  // answer to a PC search
  bus.receive(0x00, 300, nowUs);                  // wake pulse
  drain(bus);
  for (int step = 0; step < 20; ++step) {
    nowUs += 250000;
    bus.advanceTo(nowUs);
    drain(bus);
  }
  if (bus.lineBusy()) {
    for (int i = 0; i < 64; ++i) bus.nextStreamByte();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::isolateUserFolders();
  fuzz_support::freshFolder(inFolder("scenario"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzz_support::asText(data, size);
  const sim::ScenarioResult parsed = sim::parseScenario(text);
  FUZZ_CHECK(parsed.scenario.has_value() == parsed.error.empty(),
             "a result is both or neither a scenario and an error: " + parsed.error);

  const std::string path = inFolder("scenario/input.scenario");
  fuzz_support::writeFile(path, text);
  const sim::ScenarioResult loaded = sim::loadScenarioFile(path);
  FUZZ_CHECK(loaded.scenario.has_value() == parsed.scenario.has_value(),
             "the file loader and the text parser disagree");
  if (!parsed.scenario) {
    FUZZ_CHECK(loaded.error == path + ": " + parsed.error, "the file's error is not the text's");
    return 0;
  }

  try {
    sim::Bus bus(*parsed.scenario);
    exercise(bus);
  } catch (const std::invalid_argument& e) {
    fuzz_support::fail("the bus refuses an accepted scenario", e.what());
  }
  return 0;
}
