#include "modules/ignition/vehicle_info.h"

#include <string>

#include "platform/cp1252.h"

namespace ignition {

namespace {

int32_t special(buslink::ModuleLink& link, uint8_t code, uint8_t value) {
  return link.specialFunction(code, value);
}

// Every text ends with a 0 byte; the area holds four.
constexpr int kTexts = 4;

}  // namespace

void splitVehicleInfo(const std::vector<uint8_t>& bytes, IgnitionRecord& r) {
  std::string* texts[kTexts] = {&r.InfoHersteller, &r.InfoTyp, &r.InfoAusfuehrung,
                                &r.InfoKommentar};
  std::string raw[kTexts];
  int t = 0;
  for (uint8_t b : bytes) {
    if (b == 0) {
      if (++t == kTexts) break;
    } else {
      raw[t].push_back(static_cast<char>(b));
    }
  }
  for (int i = 0; i < kTexts; ++i) *texts[i] = platform::cp1252ToUtf8(raw[i]);
}

std::vector<uint8_t> vehicleInfoBytes(IgnitionRecord& r) {
  std::vector<uint8_t> out;
  for (const std::string* text : {&r.InfoHersteller, &r.InfoTyp, &r.InfoAusfuehrung}) {
    const std::string bytes = platform::utf8ToCp1252(*text).substr(0, info::kShortTextBytes);
    out.insert(out.end(), bytes.begin(), bytes.end());
    out.push_back(0);
  }
  const std::string comment =
      platform::utf8ToCp1252(r.InfoKommentar).substr(0, info::kCommentBytes);
  for (size_t i = 0; i <= comment.size(); ++i) {
    if (out.size() == info::kAreaSize) {
      // The last address of the page buffer has no cell: the comment ends
      // one byte early, and the record says so.
      out.push_back(0);
      if (i < comment.size()) r.InfoKommentar = platform::cp1252ToUtf8(comment.substr(0, i));
      break;
    }
    out.push_back(i < comment.size() ? static_cast<uint8_t>(comment[i]) : 0);
  }
  return out;
}

int32_t readVehicleInfo(buslink::ModuleLink& link, IgnitionRecord& r) {
  int32_t e = special(link, info::kSelectCode, info::kSelectValue);
  if (e != 0) return e;
  std::vector<uint8_t> bytes;
  int ends = 0;
  for (int a = 0; a < info::kAreaSize && ends < kTexts; ++a) {
    uint8_t b = 0;
    if (link.readByte(static_cast<uint8_t>(a), b) != 0) b = 0;
    // An unprogrammed cell reads 255 and ends a text like a 0.
    if (b == 0 || b == 255) {
      b = 0;
      ++ends;
    }
    bytes.push_back(b);
  }
  e = special(link, info::kLeaveCode, 0);
  if (e != 0) return e;
  splitVehicleInfo(bytes, r);
  return 0;
}

int32_t writeVehicleInfo(buslink::ModuleLink& link, IgnitionRecord& r) {
  const std::vector<uint8_t> bytes = vehicleInfoBytes(r);
  // Selecting, committing and leaving must work: otherwise the bytes would
  // land in the configuration memory, or the texts would be lost.
  int32_t e = special(link, info::kSelectCode, info::kSelectValue);
  if (e != 0) return e;
  for (size_t a = 0; a < bytes.size(); ++a) {
    link.writeByte(static_cast<uint8_t>(a), bytes[a]);
    if ((a + 1) % info::kCommitPage == 0) {
      e = special(link, info::kCommitCode, 0);
      if (e != 0) break;
    }
  }
  if (e == 0) e = special(link, info::kCommitCode, 0);
  // Left selected, the module would take the next configuration writes as
  // vehicle information.
  const int32_t left = special(link, info::kLeaveCode, 0);
  return e != 0 ? e : left;
}

}  // namespace ignition
