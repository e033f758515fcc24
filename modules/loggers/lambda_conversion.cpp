#include "modules/loggers/lambda_conversion.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "modules/loggers/number_text.h"
#include "texts/logger_text_ids.h"

namespace loggers {

namespace {

constexpr int kStreamStart = 12;
constexpr int kBlockSize = 512;
constexpr uint8_t kSpeedRecord = 255;
// One sample every 13.6 ms, counted in tenths of a millisecond.
constexpr int kSampleTicks = 136;
constexpr int kSecondTicks = 10000;
constexpr int32_t kPeriodScale = 3750000;

enum class Expect { Sample, High, Low };

class LambdaConverter {
 public:
  LambdaConverter(std::ostream& out, OutputFormat format)
      : csv_(format == OutputFormat::Csv), out_(&out, !csv_) {
    for (int sample = 0; sample < 255; ++sample) {
      std::string& t = sampleTexts_[sample];
      if (csv_) {
        appendInt(t, sample / 100);
        t += '.';
      } else {
        t += '\t';
        appendInt(t, sample / 100, 1, true);
        t += ',';
      }
      appendInt(t, sample % 100, 2, true);
    }
  }

  void writeHeader(const platform::LocalTime& stamp) {
    if (csv_) {
      out_.append("time,engine speed [1/min],lambda");
      out_.newline();
      return;
    }
    appendConvertedAt(out_, stamp);
    out_.append("Datum\tUhrzeit\tDrehzahl\tLambda");
    out_.newline();
  }

  void block(const uint8_t* b) {
    year_ = fromBcd(b[0]);
    month_ = fromBcd(b[1]);
    day_ = fromBcd(b[2]);
    hour_ = fromBcd(b[3]);
    minute_ = fromBcd(b[4]);
    second_ = fromBcd(b[5]);
    headerSeconds_ = hour_ * 3600 + minute_ * 60 + second_;
    elapsed_ = 0;
    ticks_ = 0;
    date_.clear();
    if (!csv_) {
      date_ += "\r\n";
      appendInt(date_, day_, 2, true);
      date_ += '.';
      appendInt(date_, month_, 2, true);
      date_ += '.';
      appendInt(date_, 2000 + year_, 4, true);
    }
    clockText();
    // Bytes 0 and 255 at the end of a block are filler.
    int last = kBlockSize - 1;
    while (last >= kStreamStart && (b[last] == 0 || b[last] == 0xFF)) --last;
    for (int i = kStreamStart; i <= last; ++i) {
      // Runs of samples, the bulk of the stream, stay in this loop.
      if (expect_ == Expect::Sample && !csv_) {
        int ticks = ticks_;
        while (i <= last && b[i] != kSpeedRecord) {
          sample_ = b[i++];
          ticks += kSampleTicks;
          if (ticks > kSecondTicks) {
            ticks -= kSecondTicks;
            advanceClock();
          }
        }
        ticks_ = ticks;
        if (i > last) break;
      }
      byte(b[i]);
    }
    out_.poll();
  }

  bool finish() { return out_.flush(); }
  uint64_t bytesOut() const { return out_.bytesWritten(); }

 private:
  void byte(uint8_t value) {
    switch (expect_) {
      case Expect::Sample:
        if (value == kSpeedRecord) {
          expect_ = Expect::High;
          return;
        }
        sample_ = value;
        if (csv_) csvRow(-1);
        ticks_ += kSampleTicks;
        if (ticks_ > kSecondTicks) {
          ticks_ -= kSecondTicks;
          advanceClock();
        }
        return;
      case Expect::High:
        high_ = value;
        expect_ = Expect::Low;
        return;
      case Expect::Low: {
        const int32_t p = high_ * 256 + value;
        const int32_t speed = p == 0 ? 0 : kPeriodScale / p;
        expect_ = Expect::Sample;
        if (csv_) {
          csvRow(speed);
          return;
        }
        // One line per engine period, a few million for a full card: built
        // in place from texts made once.
        char* q = put(out_.reserve(64), date_);
        q = put(q, clock_);
        q = put(q, speedText(p, speed));
        q = put(q, sampleTexts_[sample_]);
        out_.commit(q);
        return;
      }
    }
  }

  // "\t%5i" of the engine speed of period p, made when first needed.
  std::string_view speedText(int32_t p, int32_t speed) {
    auto& text = speedTexts_[static_cast<size_t>(p)];
    if (!speedKnown_[static_cast<size_t>(p)]) {
      speedKnown_[static_cast<size_t>(p)] = true;
      char* end = putInt(text.data() + 2, speed, 5);
      text[0] = static_cast<char>(end - text.data() - 2);
      text[1] = '\t';
    }
    return {text.data() + 1, static_cast<size_t>(text[0]) + 1};
  }

  // The clock runs on past midnight ("24:00:00"): hours are not wrapped.
  void advanceClock() {
    ++elapsed_;
    if (++second_ >= 60) {
      second_ = 0;
      if (++minute_ >= 60) {
        minute_ = 0;
        ++hour_;
      }
    }
    clockText();
  }

  void clockText() {
    clock_.clear();
    clock_ += '\t';
    appendInt(clock_, hour_);
    clock_ += ':';
    appendInt(clock_, minute_, 2, true);
    clock_ += ':';
    appendInt(clock_, second_, 2, true);
  }

  // A sample row (speed < 0) or a speed row, every one with its own time.
  void csvRow(int32_t speed) {
    std::string s;
    appendIsoTime(s, 2000 + year_, month_, day_, headerSeconds_ + elapsed_, ticks_ / 10);
    s += ',';
    if (speed >= 0) {
      appendInt(s, speed);
      s += ',';
    } else {
      s += ',';
      s += sampleTexts_[sample_];
    }
    out_.append(s);
    out_.newline();
    out_.poll();
  }

  bool csv_;
  TextSink out_;
  std::array<std::string, 255> sampleTexts_;
  // Per period: length, then "\t" and the speed.
  std::unique_ptr<std::array<char, 12>[]> speedTexts_ { new std::array<char, 12>[ 65536 ] };
  std::vector<bool> speedKnown_ = std::vector<bool>(65536);
  Expect expect_ = Expect::Sample;
  uint8_t sample_ = 0;
  uint8_t high_ = 0;
  int year_ = 0, month_ = 0, day_ = 0, hour_ = 0, minute_ = 0, second_ = 0;
  int headerSeconds_ = 0;
  int elapsed_ = 0;
  int ticks_ = 0;
  std::string date_;
  std::string clock_;
};

}  // namespace

int32_t convertLambdaLog(std::istream& in, std::ostream& out, std::ostream* dump,
                         const ConversionOptions& options, ConversionCounts* counts) {
  LambdaConverter converter(out, options.format);
  converter.writeHeader(options.stamp);
  TextSink copy(dump, false);
  uint64_t blocks = 0;
  {
    BlockReader reader(in, options);
    while (const uint8_t* b = reader.next()) {
      if (blockErased(b)) break;
      copy.append({reinterpret_cast<const char*>(b), kBlockSize});
      copy.poll();
      converter.block(b);
      ++blocks;
    }
    if (reader.failed()) return texts::kTextFileReadError;
  }
  const bool ok = converter.finish() && copy.flush();
  if (counts != nullptr) {
    counts->blocks = blocks;
    counts->bytesOut = converter.bytesOut();
  }
  return ok ? 0 : texts::kTextFileWriteError;
}

}  // namespace loggers
