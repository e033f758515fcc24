#include "modules/loggers/conversion.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>

#include "modules/loggers/number_text.h"
#include "texts/logger_text_ids.h"

namespace loggers {

std::string outputFileName(const platform::LocalTime& t) {
  char name[64];
  std::snprintf(name, sizeof name, "LogDatei-%04i%02i%02i-%02i%02i.txt", t.year, t.month, t.day,
                t.hour, t.minute);
  return name;
}

std::string replaceExtension(const std::string& path, const std::string& suffix) {
  return (path.size() < 4 ? path : path.substr(0, path.size() - 4)) + suffix;
}

TextSink::TextSink(std::ostream* out, bool crlf) : out_(out), crlf_(crlf) {
  buffer_.resize(kMaxReserve);
}

void TextSink::makeRoom(size_t n) {
  constexpr size_t kFull = kFlushSize + kMaxReserve;
  if (buffer_.size() < kFull) {
    buffer_.resize(std::min(kFull, std::max(buffer_.size() * 2, used_ + n)));
    if (used_ + n <= buffer_.size()) return;
  }
  flush();
}

TextSink::~TextSink() {
  flush();
}

void TextSink::append(std::string_view text) {
  if (text.size() > kMaxReserve) {
    flush();
    if (out_ != nullptr && !failed_) {
      out_->write(text.data(), static_cast<std::streamsize>(text.size()));
      if (!*out_) failed_ = true;
    }
    written_ += text.size();
    return;
  }
  char* p = reserve(text.size());
  std::memcpy(p, text.data(), text.size());
  used_ += text.size();
}

bool TextSink::flush() {
  if (out_ != nullptr && !failed_ && used_ > 0) {
    out_->write(buffer_.data(), static_cast<std::streamsize>(used_));
    if (!*out_) failed_ = true;
  }
  written_ += used_;
  used_ = 0;
  return !failed_;
}

BlockReader::BlockReader(std::istream& in, const ConversionOptions& options)
    : in_(in), prompts_(options.inputSize > 0 ? options.prompts : nullptr) {
  piece_.reset(new char[kReadPiece]);
  if (prompts_ != nullptr) {
    const uint64_t steps = (options.inputSize + kReadPiece - 1) / kReadPiece;
    prompts_->openWaitWindow(static_cast<int32_t>(steps), texts::kTextConvertingData);
  }
}

BlockReader::~BlockReader() {
  if (prompts_ != nullptr) prompts_->closeWaitWindow();
}

bool BlockReader::refill() {
  if (ended_) return false;
  // Keep the unread tail (less than a block) in front of the next piece.
  const size_t tail = filled_ - position_;
  std::memmove(piece_.get(), piece_.get() + position_, tail);
  in_.read(piece_.get() + tail, static_cast<std::streamsize>(kReadPiece - tail));
  const size_t got = static_cast<size_t>(in_.gcount());
  if (!in_) {
    ended_ = true;
    if (in_.bad()) failed_ = true;
  }
  position_ = 0;
  filled_ = tail + got;
  if (prompts_ != nullptr && got > 0) prompts_->stepWaitWindow();
  return got > 0;
}

const uint8_t* BlockReader::next() {
  while (filled_ - position_ < 512) {
    if (!refill()) return nullptr;
  }
  const auto* block = reinterpret_cast<const uint8_t*>(piece_.get() + position_);
  position_ += 512;
  return block;
}

bool blockErased(const uint8_t* block) {
  return std::all_of(block, block + 7, [](uint8_t b) { return b == 0xFF; });
}

int64_t daysFromCivil(int year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yoe = year - era * 400;
  const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

void appendIsoTime(std::string& out, int year, int month, int day, int64_t seconds, int millis) {
  int64_t days = daysFromCivil(year, month, day) + seconds / 86400;
  int64_t s = seconds % 86400;
  if (s < 0) {
    s += 86400;
    --days;
  }
  int y = 0, m = 0, d = 0;
  civilFromDays(days, y, m, d);
  appendInt(out, y, 4, true);
  out.push_back('-');
  appendInt(out, m, 2, true);
  out.push_back('-');
  appendInt(out, d, 2, true);
  out.push_back('T');
  appendInt(out, s / 3600, 2, true);
  out.push_back(':');
  appendInt(out, s / 60 % 60, 2, true);
  out.push_back(':');
  appendInt(out, s % 60, 2, true);
  if (millis >= 0) {
    out.push_back('.');
    appendInt(out, millis, 3, true);
  }
}

void appendConvertedAt(TextSink& sink, const platform::LocalTime& t) {
  std::string s;
  s += "Konvertiert am ";
  appendInt(s, t.day, 2, true);
  s += '.';
  appendInt(s, t.month, 2, true);
  s += '.';
  appendInt(s, t.year, 4, true);
  s += " um ";
  appendInt(s, t.hour, 2, true);
  s += ':';
  appendInt(s, t.minute, 2, true);
  s += ':';
  appendInt(s, t.second, 2, true);
  sink.append(s);
  sink.newline();
  sink.newline();
}

}  // namespace loggers
