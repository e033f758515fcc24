#include "sim/display_live_input.h"

#include <charconv>
#include <sstream>
#include <vector>

namespace sim {

namespace {

bool number(const std::string& text, long max, long& value) {
  int base = 10;
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    begin += 2;
  }
  auto [ptr, ec] = std::from_chars(begin, end, value, base);
  return ec == std::errc() && ptr == end && begin != end && value >= 0 && value <= max;
}

}  // namespace

std::string applyLiveInput(Bus& bus, const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> w;
  for (std::string word; in >> word;) w.push_back(word);
  if (w.empty()) return {};
  const bool live = w[0] == "live";
  if (!live && w[0] != "period") return "unknown input '" + w[0] + "' (live, period)";
  if (w.size() != (live ? 4u : 3u)) return live ? "live ADDR INDEX W" : "period ADDR W";
  long address = 0, index = 0, value = 0;
  if (!number(w[1], 0xFF, address)) return "'" + w[1] + "' is not a bus address";
  ModuleModel* m = bus.moduleAt(static_cast<uint8_t>(address));
  if (m == nullptr) return "no module at " + w[1];
  if (!number(w.back(), 0xFFFF, value)) return "'" + w.back() + "' is not a word";
  if (live) {
    if (!number(w[2], 255, index)) return "'" + w[2] + "' is not an index 0-255";
    m->liveValues[static_cast<size_t>(index)] = static_cast<uint16_t>(value);
  } else {
    m->period = static_cast<uint16_t>(value);
  }
  return {};
}

}  // namespace sim
