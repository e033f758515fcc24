#include "viewers/trigger/datalog.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/cp1252.h"
#include "viewers/trigger/trigger_texts.h"

namespace trigger {

namespace {

constexpr size_t kHeaderField = 16;
constexpr const char* kMagic = "DataLog";

std::string twoDigits(int value) {
  std::string s = std::to_string(value);
  if (s.size() < 2) s.insert(s.begin(), '0');
  return s;
}

std::string trimmedBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string padded(std::string text) {
  text.resize(kHeaderField, ' ');
  return text;
}

template <typename T>
void putLittle(std::string& out, T value) {
  uint8_t raw[sizeof(T)];
  std::memcpy(raw, &value, sizeof(T));
  // The files are little-endian whatever the machine.
  if constexpr (std::endian::native == std::endian::big) std::reverse(raw, raw + sizeof(T));
  out.append(reinterpret_cast<const char*>(raw), sizeof(T));
}

template <typename T>
T getLittle(const uint8_t* raw) {
  uint8_t copy[sizeof(T)];
  std::memcpy(copy, raw, sizeof(T));
  if constexpr (std::endian::native == std::endian::big) std::reverse(copy, copy + sizeof(T));
  T value;
  std::memcpy(&value, copy, sizeof(T));
  return value;
}

void putText(std::string& out, const std::string& utf8) {
  const std::string bytes = platform::utf8ToCp1252(utf8);
  putLittle<int32_t>(out, static_cast<int32_t>(bytes.size()));
  out += bytes;
}

std::string recordHead(int32_t tag, int32_t id) {
  std::string out;
  putLittle<int32_t>(out, tag);
  putLittle<int32_t>(out, id);
  return out;
}

template <typename T, typename V>
std::string arrayRecord(int32_t tag, int32_t id, const std::vector<V>& values) {
  std::string out = recordHead(tag, id);
  // An empty array cannot be written: its upper index would be -1.
  const size_t count = values.empty() ? 1 : values.size();
  putLittle<int32_t>(out, static_cast<int32_t>(count - 1));
  for (size_t i = 0; i < count; ++i)
    putLittle<T>(out, values.empty() ? T{} : static_cast<T>(values[i]));
  return out;
}

}  // namespace

std::string dataLogDate(const platform::LocalTime& t) {
  std::string text = std::to_string(t.year);
  text += '.';
  text += twoDigits(t.month);
  text += '.';
  text += twoDigits(t.day);
  text += ' ';
  text += twoDigits(t.hour);
  text += ':';
  text += twoDigits(t.minute);
  text += ':';
  text += twoDigits(t.second);
  return text;
}

void DataLog::fail(const char* text, const std::string& path) {
  close();
  messages_.show(fillIn(text, path), viewers::MessageIcon::kError);
}

bool DataLog::open(const std::string& path, const std::string& programName,
                   const std::string& description, bool replace, const platform::LocalTime& now) {
  if (isOpen()) {
    messages_.show(kTextFileAlreadyOpen, viewers::MessageIcon::kInformation);
    return false;
  }
  std::error_code ec;
  const std::filesystem::path p(path);
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path(), ec);
  if (replace) std::filesystem::remove(p, ec);
  if (std::filesystem::is_directory(p, ec)) {
    fail(kTextDataLogOpenFailed, path);
    return false;
  }
  file_ = std::fopen(path.c_str(), "r+b");
  // A file the user may only read still loads.
  if (!file_ && std::filesystem::exists(p, ec)) file_ = std::fopen(path.c_str(), "rb");
  if (!file_) file_ = std::fopen(path.c_str(), "w+b");
  if (!file_ || std::fseek(file_, 0, SEEK_END) != 0 || (size_ = std::ftell(file_)) < 0) {
    fail(kTextDataLogOpenFailed, path);
    return false;
  }
  if (size_ == 0) {
    if (!writeHeader(programName, description, now)) {
      fail(kTextDataLogOpenFailed, path);
      return false;
    }
    return true;
  }
  if (!readHeader()) {
    fail(kTextNotDataLog, path);
    return false;
  }
  return true;
}

bool DataLog::writeHeader(const std::string& programName, const std::string& description,
                          const platform::LocalTime& now) {
  programName_ = trimmedBlanks(programName);
  if (programName_.empty()) programName_ = kProgramName;
  date_ = dataLogDate(now);
  description_ = description;
  std::string out = padded(kMagic) + padded(platform::utf8ToCp1252(programName_));
  putText(out, date_);
  putText(out, description_);
  if (std::fseek(file_, 0, SEEK_SET) != 0 ||
      std::fwrite(out.data(), 1, out.size(), file_) != out.size() || std::fflush(file_) != 0) {
    return false;
  }
  size_ = static_cast<long>(out.size());
  readPos_ = size_;
  return true;
}

bool DataLog::readHeader() {
  readPos_ = 0;
  char field[kHeaderField];
  if (!take(field, kHeaderField) || trimmedBlanks(std::string(field, kHeaderField)) != kMagic) {
    return false;
  }
  if (!take(field, kHeaderField)) return false;
  programName_ = platform::cp1252ToUtf8(trimmedBlanks(std::string(field, kHeaderField)));
  return takeText(date_) && takeText(description_);
}

void DataLog::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  size_ = 0;
  readPos_ = 0;
  programName_.clear();
  date_.clear();
  description_.clear();
}

void DataLog::append(const std::string& bytes) {
  if (!file_ || std::fseek(file_, 0, SEEK_END) != 0) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size()) {
    size_ += static_cast<long>(bytes.size());
  }
  std::fflush(file_);
}

void DataLog::writeEmpty(int32_t id) {
  append(recordHead(kTagEmpty, id));
}

void DataLog::writeText(int32_t tag, int32_t id, const std::string& text) {
  std::string out = recordHead(tag, id);
  putText(out, text);
  append(out);
}

void DataLog::writeInt32(int32_t id, int32_t value) {
  std::string out = recordHead(kTagInt32, id);
  putLittle<int32_t>(out, value);
  append(out);
}

void DataLog::writeFloat(int32_t id, float value) {
  std::string out = recordHead(kTagFloat, id);
  putLittle<float>(out, value);
  append(out);
}

void DataLog::writeDouble(int32_t id, double value) {
  std::string out = recordHead(kTagDouble, id);
  putLittle<double>(out, value);
  append(out);
}

void DataLog::writeBytes(int32_t id, const std::vector<uint8_t>& values) {
  append(arrayRecord<uint8_t>(kTagBytes, id, values));
}

void DataLog::writeInt16s(int32_t id, const std::vector<int16_t>& values) {
  append(arrayRecord<int16_t>(kTagInt16s, id, values));
}

void DataLog::writeInt32s(int32_t id, const std::vector<int32_t>& values) {
  append(arrayRecord<int32_t>(kTagInt32s, id, values));
}

void DataLog::writeFloats(int32_t id, const std::vector<float>& values) {
  append(arrayRecord<float>(kTagFloats, id, values));
}

void DataLog::writeDoubles(int32_t id, const std::vector<double>& values) {
  append(arrayRecord<double>(kTagDoubles, id, values));
}

void DataLog::writeNameValue(int32_t id, const std::string& name, const std::string& value) {
  std::string out = recordHead(kTagNameValue, id);
  putText(out, name);
  putText(out, value);
  append(out);
}

bool DataLog::take(void* out, size_t count) {
  if (!file_ || count > static_cast<size_t>(size_ - readPos_)) return false;
  if (count == 0) return true;
  if (std::fseek(file_, readPos_, SEEK_SET) != 0 || std::fread(out, 1, count, file_) != count) {
    return false;
  }
  readPos_ += static_cast<long>(count);
  return true;
}

bool DataLog::takeText(std::string& text) {
  uint8_t raw[4];
  if (!take(raw, 4)) return false;
  const int32_t length = getLittle<int32_t>(raw);
  if (length < 0 || length > size_ - readPos_) return false;
  std::string bytes(static_cast<size_t>(length), '\0');
  if (!take(bytes.data(), bytes.size())) return false;
  text = platform::cp1252ToUtf8(bytes);
  return true;
}

bool DataLog::takeUpperIndex(int32_t& upper, size_t elementSize, size_t& count) {
  uint8_t raw[4];
  if (!take(raw, 4)) return false;
  upper = getLittle<int32_t>(raw);
  if (upper < 0) return false;
  count = static_cast<size_t>(upper) + 1;
  // Checked before anything is allocated: a forged index cannot ask for
  // more memory than the file has bytes.
  return elementSize == 0 || count <= static_cast<size_t>(size_ - readPos_) / elementSize;
}

namespace {

template <typename T, typename Out>
bool decodeArray(const std::vector<uint8_t>& raw, size_t count, std::vector<Out>& out) {
  out.resize(count);
  for (size_t i = 0; i < count; ++i)
    out[i] = static_cast<Out>(getLittle<T>(raw.data() + i * sizeof(T)));
  return true;
}

}  // namespace

ReadResult DataLog::readNext(DataLogRecord& r) {
  r = DataLogRecord{};
  uint8_t raw[8];
  if (!take(raw, 4)) return ReadResult::kEnd;
  const int32_t tag = getLittle<int32_t>(raw);
  if (tag == kTagEnd) return ReadResult::kEnd;
  if (!take(raw, 4)) return ReadResult::kEnd;
  const int32_t id = getLittle<int32_t>(raw);

  auto arrayOf = [&](size_t elementSize, auto decode) {
    int32_t upper = 0;
    size_t count = 0;
    if (!takeUpperIndex(upper, elementSize, count)) return false;
    std::vector<uint8_t> bytes(count * elementSize);
    if (!take(bytes.data(), bytes.size())) return false;
    decode(bytes, count);
    return true;
  };

  bool ok = true;
  switch (tag) {
    case kTagEmpty:
      break;
    case kTagText:
    case kTagDate:
    case kTagText151:
      ok = takeText(r.text);
      break;
    case kTagInt32:
      ok = take(raw, 4);
      if (ok) r.integer = getLittle<int32_t>(raw);
      break;
    case kTagFloat:
      ok = take(raw, 4);
      if (ok) r.real = getLittle<float>(raw);
      break;
    case kTagDouble:
      ok = take(raw, 8);
      if (ok) r.real = getLittle<double>(raw);
      break;
    case kTagBytes:
      ok = arrayOf(1, [&](const std::vector<uint8_t>& b, size_t) { r.bytes = b; });
      break;
    case kTagInt16s:
      ok = arrayOf(2, [&](const auto& b, size_t n) { decodeArray<int16_t>(b, n, r.integers); });
      break;
    case kTagInt32s:
      ok = arrayOf(4, [&](const auto& b, size_t n) { decodeArray<int32_t>(b, n, r.integers); });
      break;
    case kTagFloats:
      ok = arrayOf(4, [&](const auto& b, size_t n) { decodeArray<float>(b, n, r.reals); });
      break;
    case kTagDoubles:
      ok = arrayOf(8, [&](const auto& b, size_t n) { decodeArray<double>(b, n, r.reals); });
      break;
    case kTagTexts: {
      // Another program's list of texts: the viewer takes the id and the
      // upper index, and steps over the texts so the records after them
      // still line up.
      int32_t upper = 0;
      size_t count = 0;
      ok = takeUpperIndex(upper, 4, count);
      std::string skipped;
      for (size_t i = 0; ok && i < count; ++i) ok = takeText(skipped);
      if (ok) r.integer = upper;
      break;
    }
    case kTagNameValue:
      ok = takeText(r.text) && takeText(r.value);
      break;
    default:
      return ReadResult::kUnknownTag;
  }
  if (!ok) return ReadResult::kEnd;
  r.tag = tag;
  r.id = id;
  return ReadResult::kRecord;
}

}  // namespace trigger
