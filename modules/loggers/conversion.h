#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "shell/user_prompts.h"

// What every log conversion shares: its options, its buffered text output
// and its progress. A conversion reads its input in large pieces and keeps
// only fixed-size buffers, so its memory does not grow with the log.
namespace loggers {

enum class OutputFormat {
  Text,  // the German tab-separated text, cp1252, CR LF, decimal comma
  Csv,   // one header row, a dot, commas between fields, ISO 8601 times, UTF-8
};

struct ConversionOptions {
  platform::LocalTime stamp;  // "Konvertiert am ..." (the time the output was named)
  OutputFormat format = OutputFormat::Text;
  // Progress through the wait window (text 8315) when set and the input
  // size is known.
  shell::UserPrompts* prompts = nullptr;
  uint64_t inputSize = 0;
};

struct ConversionCounts {
  uint64_t blocks = 0;    // blocks converted
  uint64_t bytesOut = 0;  // text written
};

// The bytes read and converted per step of the wait window.
constexpr size_t kReadPiece = 1 << 20;

// "LogDatei-%04i%02i%02i-%02i%02i.txt" for the time `t`.
std::string outputFileName(const platform::LocalTime& t);

// The output path with its last 4 characters replaced by `suffix` (".bin",
// "-Dump.bin"); a path shorter than 4 characters just gets the suffix.
std::string replaceExtension(const std::string& path, const std::string& suffix);

// Collects text and hands it to a stream in large pieces. "\n" in the log
// formats is written as CR LF for the text files, as the Windows program's
// text-mode files have it.
class TextSink {
 public:
  // The most one reserve() may ask for.
  static constexpr size_t kMaxReserve = 8192;

  TextSink(std::ostream* out, bool crlf);
  ~TextSink();
  TextSink(const TextSink&) = delete;
  TextSink& operator=(const TextSink&) = delete;

  // Room for up to `n` (at most kMaxReserve) bytes written in place, then
  // commit() with the end of what was written.
  char* reserve(size_t n) {
    if (used_ + n > buffer_.size()) makeRoom(n);
    return buffer_.data() + used_;
  }
  void commit(const char* end) { used_ = static_cast<size_t>(end - buffer_.data()); }
  void append(std::string_view text);
  void newline() { append(crlf_ ? std::string_view("\r\n") : std::string_view("\n")); }
  // Writes out what has collected once it is large.
  void poll() {
    if (used_ >= kFlushSize) flush();
  }
  // False once a write has failed.
  bool flush();
  bool failed() const { return failed_; }
  uint64_t bytesWritten() const { return written_ + used_; }

 private:
  static constexpr size_t kFlushSize = 1 << 20;
  // Grows the buffer up to its full size (small conversions stay small),
  // then writes it out.
  void makeRoom(size_t n);
  std::ostream* out_;
  bool crlf_;
  bool failed_ = false;
  uint64_t written_ = 0;
  size_t used_ = 0;
  std::string buffer_;  // used_ bytes of it hold text
};

// Reads the input in pieces of kReadPiece bytes and steps the wait window
// once per piece.
class BlockReader {
 public:
  BlockReader(std::istream& in, const ConversionOptions& options);
  ~BlockReader();
  BlockReader(const BlockReader&) = delete;
  BlockReader& operator=(const BlockReader&) = delete;

  // The next whole 512-byte block, or nullptr when fewer than 512 bytes are
  // left.
  const uint8_t* next();
  // The input stream failed (not merely ended).
  bool failed() const { return failed_; }

 private:
  bool refill();

  std::istream& in_;
  shell::UserPrompts* prompts_;
  std::unique_ptr<char[]> piece_;
  size_t position_ = 0;
  size_t filled_ = 0;
  bool ended_ = false;
  bool failed_ = false;
};

// A 512-byte block whose first 7 bytes are all 0xFF is erased.
bool blockErased(const uint8_t* block);

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian).
int64_t daysFromCivil(int year, int month, int day);
void civilFromDays(int64_t days, int& year, int& month, int& day);

// "YYYY-MM-DDThh:mm:ss" (plus ".mmm" when `millis` >= 0) for a date and the
// seconds since its midnight, which may run past one day.
void appendIsoTime(std::string& out, int year, int month, int day, int64_t seconds,
                   int millis = -1);

// "Konvertiert am %02i.%02i.%04i um %02i:%02i:%02i\n\n".
void appendConvertedAt(TextSink& sink, const platform::LocalTime& t);

}  // namespace loggers
