#include "sim/serial_search.h"

namespace sim {

namespace {
constexpr uint32_t kSearchedBits = 0x0FFFFFFF;  // bits 0-27; the top nibble is never searched
}

void SerialSearch::add(std::unique_ptr<ModuleModel> module) {
  entries_.push_back(Entry{std::move(module)});
}

ModuleModel* SerialSearch::selected() const {
  return selected_ < 0 ? nullptr : entries_[selected_].module.get();
}

std::vector<uint8_t> SerialSearch::handle(const Frame& f) {
  switch (f[0]) {
    case kSearchBit:
      return searchBit(f[1], f[2]);
    case kMarkFound:
      markFound(f[1], f[2]);
      return {};
    case kSelectSerialHigh:
      selectHigh_ = static_cast<uint16_t>(f[1] << 8 | f[2]);
      return {};
    case kSelectSerialLow:
      return selectLow(f[1], f[2]);
    case kResetSearch:
      for (Entry& e : entries_) e.found = false;
      newRound();
      return {};
    default:
      return {};
  }
}

std::vector<uint8_t> SerialSearch::searchBit(uint8_t bit, uint8_t value) {
  if (bit > 31) return {};
  bool someoneAnswered = false;
  for (const Entry& e : entries_) {
    if (e.found || !e.inRound || !canAnswer(*e.module)) continue;
    if (((e.module->serialBcd() >> bit) & 1u) == (value & 1u)) someoneAnswered = true;
  }
  if (!someoneAnswered) return {};
  // Those that kept quiet heard the answer and leave this round.
  for (Entry& e : entries_) {
    if (e.found || !e.inRound || e.module->asleep) continue;
    if (((e.module->serialBcd() >> bit) & 1u) != (value & 1u)) e.inRound = false;
  }
  return {kSearchAnswer};
}

void SerialSearch::markFound(uint8_t index, uint8_t byte) {
  if (index > 3) return;
  foundSerial_[index] = byte;
  if (index != 3) return;
  const uint32_t serial = static_cast<uint32_t>(foundSerial_[3]) << 24 |
                          static_cast<uint32_t>(foundSerial_[2]) << 16 |
                          static_cast<uint32_t>(foundSerial_[1]) << 8 | foundSerial_[0];
  for (Entry& e : entries_) {
    if (e.module->asleep) continue;
    if ((e.module->serialBcd() & kSearchedBits) == (serial & kSearchedBits)) e.found = true;
  }
  newRound();
}

std::vector<uint8_t> SerialSearch::selectLow(uint8_t b1, uint8_t b2) {
  const uint32_t wanted = static_cast<uint32_t>(selectHigh_) << 16 | b1 << 8 | b2;
  selected_ = -1;
  for (size_t i = 0; i < entries_.size(); ++i) {
    const ModuleModel& m = *entries_[i].module;
    if (!m.asleep && m.serialBcd() == wanted) {
      selected_ = static_cast<int>(i);
      break;
    }
  }
  if (selected_ < 0 || !entries_[selected_].module->answers) return {};
  const Frame r = makeFrame(kSelectSerialLow, b1, b2);
  return {r.begin(), r.end()};
}

void SerialSearch::newRound() {
  for (Entry& e : entries_) e.inRound = true;
}

}  // namespace sim
