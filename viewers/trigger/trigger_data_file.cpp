#include "viewers/trigger/trigger_data_file.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>
#include <utility>

#include "viewers/trigger/datalog.h"
#include "viewers/trigger/trigger_texts.h"

namespace trigger {

namespace {

constexpr int32_t kIdDataCount = 1;
constexpr int32_t kIdWriteIndex = 2;
constexpr int32_t kIdChannelA = 101;
constexpr int32_t kIdChannelB = 102;

std::string twoDigits(int value) {
  std::string s = std::to_string(value);
  if (s.size() < 2) s.insert(s.begin(), '0');
  return s;
}

// The 301 values are whole numbers; text that is none reads as 0.
int numberOf(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return 0;
  int value = 0;
  const char* begin = text.data() + first;
  if (*begin == '+') ++begin;
  const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value);
  (void)end;
  return ec == std::errc() ? value : 0;
}

void takeChannel(std::vector<uint8_t>& channel, const std::vector<uint8_t>& stored) {
  // Another program may store more or fewer samples: the first 60 000 are
  // taken, missing ones stay 0, and every value other than 0 counts as 1.
  const size_t n = std::min(stored.size(), channel.size());
  for (size_t i = 0; i < n; ++i) channel[i] = stored[i] != 0 ? 1 : 0;
}

void takeNameValue(ModuleValues& v, const std::string& name, const std::string& value) {
  if (name == "SerienNr") {
    v.ModSerienNr = value;
  } else if (name == "ModulVersion") {
    v.ModVersion = value;
  } else if (name == "ModultypNr") {
    v.setModTypNr(numberOf(value));
  } else if (name == "Zylinder") {
    v.ModZylinder = numberOf(value);
  } else if (name == "Takte") {
    v.ModTakte = numberOf(value);
  } else if (name == "KwGeberMode") {
    v.ModKwGeber = numberOf(value);
  } else if (name == "KwZ\xC3\xA4hne") {
    v.ModKwZaehne = numberOf(value);
  } else if (name ==
             "KwL\xC3\xBC"
             "cke") {
    v.ModKwLuecke = numberOf(value);
  } else if (name == "Leertakt") {
    v.ModLeertakt = numberOf(value);
  } else if (name == "ZylViaFlg") {
    v.ModZylinder1 = numberOf(value);
  }
}

}  // namespace

std::string dataFileName(const std::string& folder, const platform::LocalTime& t) {
  std::string name = folder;
  name += kProgramName;
  name += " Logfile ";
  name += std::to_string(t.year);
  for (const auto& [separator, value] :
       {std::pair{'-', t.month}, std::pair{'-', t.day}, std::pair{' ', t.hour},
        std::pair{'.', t.minute}, std::pair{'.', t.second}}) {
    name += separator;
    name += twoDigits(value);
  }
  name += ".dat";
  return name;
}

StoredOrder storedOrder(const Recording& rec) {
  StoredOrder out;
  const bool full = rec.DataCount >= kRingSize;
  const int32_t from = full ? std::clamp(rec.DataWrIdx, 0, kLastSlot) : 0;
  out.writeIndex = full ? 0 : rec.DataWrIdx;
  out.channelA.resize(kRingSize);
  out.channelB.resize(kRingSize);
  std::rotate_copy(rec.channelA.begin(), rec.channelA.begin() + from, rec.channelA.end(),
                   out.channelA.begin());
  std::rotate_copy(rec.channelB.begin(), rec.channelB.begin() + from, rec.channelB.end(),
                   out.channelB.begin());
  return out;
}

bool saveTriggerData(const std::string& path, const Recording& rec, const ModuleValues& v,
                     viewers::ViewerMessages& messages, const platform::LocalTime& now) {
  DataLog log(messages);
  if (!log.open(path, "", kDataDescription, false, now)) return false;
  log.writeNameValue(0, "SerienNr", v.ModSerienNr);
  log.writeNameValue(0, "ModulVersion", v.ModVersion);
  log.writeNameValue(0, "ModultypNr", std::to_string(v.ModTypNr));
  log.writeNameValue(0, "Zylinder", std::to_string(v.ModZylinder));
  log.writeNameValue(0, "Takte", std::to_string(v.ModTakte));
  log.writeNameValue(0, "KwGeberMode", std::to_string(v.ModKwGeber));
  log.writeNameValue(0, "KwZ\xC3\xA4hne", std::to_string(v.ModKwZaehne));
  log.writeNameValue(0,
                     "KwL\xC3\xBC"
                     "cke",
                     std::to_string(v.ModKwLuecke));
  log.writeNameValue(0, "Leertakt", std::to_string(v.ModLeertakt));
  log.writeNameValue(0, "ZylViaFlg", std::to_string(v.ModZylinder1));
  const StoredOrder order = storedOrder(rec);
  log.writeInt32(kIdDataCount, rec.DataCount);
  log.writeInt32(kIdWriteIndex, order.writeIndex);
  log.writeBytes(kIdChannelA, order.channelA);
  log.writeBytes(kIdChannelB, order.channelB);
  log.close();
  messages.show(kTextSaved, viewers::MessageIcon::kNone);
  return true;
}

bool loadTriggerData(const std::string& path, Recording& rec, ModuleValues& values,
                     viewers::ViewerMessages& messages) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    messages.show(fillIn(kTextFileNotFound, path), viewers::MessageIcon::kError);
    return false;
  }
  DataLog log(messages);
  if (!log.open(path, "", "", false)) return false;
  if (log.programName() != kProgramName) {
    log.close();
    std::string text = path;
    text += "\r\n";
    text += kTextNotOurLog;
    text += kProgramName;
    text += kTextNotOurLogEnd;
    messages.show(text, viewers::MessageIcon::kError);
    return false;
  }
  rec.clear();
  DataLogRecord r;
  while (log.readNext(r) == ReadResult::kRecord) {
    if (r.tag == kTagBytes && r.id == kIdChannelA) {
      takeChannel(rec.channelA, r.bytes);
    } else if (r.tag == kTagBytes && r.id == kIdChannelB) {
      takeChannel(rec.channelB, r.bytes);
    } else if (r.tag == kTagInt32 && r.id == kIdDataCount) {
      // Out-of-range numbers from a damaged file would point the drawing
      // and the analysis outside the ring.
      rec.DataCount = static_cast<int32_t>(std::clamp<int64_t>(r.integer, 0, kRingSize));
    } else if (r.tag == kTagInt32 && r.id == kIdWriteIndex) {
      rec.DataWrIdx = static_cast<int32_t>(std::clamp<int64_t>(r.integer, 0, kLastSlot));
    } else if (r.tag == kTagNameValue) {
      takeNameValue(values, r.text, r.value);
    }
  }
  log.close();
  return true;
}

}  // namespace trigger
