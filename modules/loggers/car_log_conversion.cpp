#include "modules/loggers/car_log_conversion.h"

#include <array>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "modules/loggers/car_values.h"
#include "modules/loggers/number_text.h"
#include "platform/cp1252.h"
#include "texts/logger_text_ids.h"

namespace loggers {

namespace {

constexpr int kGroups = 5;
constexpr int kRecords = 8;
constexpr int kGroupSize = 100;
constexpr int kRecordSize = 11;
constexpr int kDataStart = 12;
constexpr int kBlockSize = 512;
// Blocks further apart than this leave a gap line; further than the long
// gap, the car is taken to have stood (speed and distance start again).
constexpr int kGap = 2;
constexpr int kLongGap = 60;
constexpr int32_t kNoBlockYet = 100000;

struct Clock {
  int hour, minute, second;
  int seconds() const { return hour * 3600 + minute * 60 + second; }
  void advance() {
    if (++second < 60) return;
    second = 0;
    if (++minute < 60) return;
    minute = 0;
    if (++hour >= 24) hour = 0;
  }
};

struct BlockHeader {
  int year, month, day;
  Clock clock;
};

BlockHeader header(const uint8_t* b) {
  return {
      fromBcd(b[0]), fromBcd(b[1]), fromBcd(b[2]), {fromBcd(b[3]), fromBcd(b[4]), fromBcd(b[5])}};
}

// Texts of the raw bytes that have one value per byte, made once.
struct ByteTexts {
  std::array<std::string, 256> accelerationX, accelerationY, lambda;
  std::array<std::array<std::string, 256>, 4> sensors;
  std::array<std::string, 256> voltage;
  std::array<double, 256> volts{};

  ByteTexts(const VehicleData& v, char point) {
    for (int raw = 0; raw < 256; ++raw) {
      const auto b = static_cast<uint8_t>(raw);
      appendFixed(accelerationX[raw], acceleration(b, v.gOffsetX), 1, 2, point);
      appendFixed(accelerationY[raw], acceleration(b, v.gOffsetY), 1, 2, point);
      appendFixed(lambda[raw], lambdaProbe(v, b), 3, 1, point);
      for (int s = 0; s < 4; ++s) appendFixed(sensors[s][raw], sensorValue(v, s, b), 3, 1, point);
      volts[raw] = supplyVoltage(v, b);
      appendFixed(voltage[raw], volts[raw], 2, 1, point);
    }
  }
};

class CarLogConverter {
 public:
  CarLogConverter(const VehicleData& v, std::ostream& out, std::ostream* side, OutputFormat format)
      : v_(v),
        csv_(format == OutputFormat::Csv),
        texts_(v, csv_ ? '.' : ','),
        out_(&out, !csv_),
        side_(side, true) {}

  void writeHeader(const platform::LocalTime& stamp) {
    if (csv_) return writeCsvHeader();
    appendConvertedAt(out_, stamp);
    std::string s =
        "Datum\tUhrzeit\tDistanz\tTacho\tDrehzahl\tG-Sensor\t\tPotiPos\tLambda\t\tMarker\tSensor 1"
        "\tSensor 2\tSensor 3\tSensor 4\tSpannung";
    out_.append(s);
    out_.newline();
    // The units come from the vehicle file; the text file is cp1252 like it.
    s = "\t\tkm\tkm/h\t1/min\tX\tY\t" + platform::utf8ToCp1252(v_.poti.unit) + "\tA\tB\t\t";
    for (const SensorCurve& c : v_.sensors) s += platform::utf8ToCp1252(c.unit) + "\t";
    s += "V";
    out_.append(s);
    out_.newline();
  }

  void block(const uint8_t* b) {
    if (b[8] & 0x01) {
      streamBlock(b);
    } else {
      dataBlock(b);
    }
    out_.poll();
    side_.poll();
  }

  bool finish() {
    const bool outOk = out_.flush();
    const bool sideOk = side_.flush();
    return outOk && sideOk;
  }
  uint64_t bytesOut() const { return out_.bytesWritten(); }

 private:
  void dataBlock(const uint8_t* b) {
    const BlockHeader h = header(b);
    Clock clock = h.clock;
    const int s = clock.seconds();
    const int d = previousBlockEnd_ - s;
    if ((d > kGap || d < -kGap) && !csv_) out_.newline();
    if (d > kLongGap || d < -kLongGap) speed_.reset();
    previousBlockEnd_ = s;

    std::string date;
    appendInt(date, h.day, 2, true);
    date += '.';
    appendInt(date, h.month, 2, true);
    date += '.';
    appendInt(date, 2000 + h.year, 4, true);

    int elapsed = 0;  // seconds since the block's start, for CSV times
    std::string time;
    for (int g = 0; g < kGroups; ++g) {
      const uint8_t* group = b + kDataStart + g * kGroupSize;
      std::string groupText;
      for (int sensor = 0; sensor < 4; ++sensor) {
        groupText += csv_ ? ',' : '\t';
        groupText += texts_.sensors[sensor][group[88 + sensor]];
      }
      groupText += csv_ ? ',' : '\t';
      groupText += texts_.voltage[group[92]];
      const double volts = texts_.volts[group[92]];
      for (int k = 0; k < kRecords; ++k) {
        if (k == 0 || k == 4) {
          time.clear();
          time += '\t';
          appendInt(time, clock.hour, 2, true);
          time += ':';
          appendInt(time, clock.minute, 2, true);
          time += ':';
          appendInt(time, clock.second, 2, true);
          clock.advance();
          if (k != 0 || g != 0) ++elapsed;
        }
        const uint8_t* r = group + k * kRecordSize;
        if (r[0] == 0xFF && r[1] == 0xFF) return;
        record(r, group[92], volts, date, time, groupText, h, s + elapsed, k % 4);
      }
    }
    previousBlockEnd_ = clock.seconds();
  }

  void record(const uint8_t* r, uint8_t voltsRaw, double volts, const std::string& date,
              const std::string& time, const std::string& groupText, const BlockHeader& h,
              int seconds, int quarter) {
    const double speed = speed_.record(v_, r[0], r[1]);
    const int64_t metres = speed_.distanceMetres(v_);
    const double rpm = engineSpeed(v_, r[2], static_cast<uint16_t>(r[3] << 8 | r[4]));
    const bool marker = (r[10] & 0x04) != 0;
    if (csv_) {
      std::string s;
      appendIsoTime(s, 2000 + h.year, h.month, h.day, seconds, quarter * 250);
      s += ',';
      appendInt(s, metres);
      s += ',';
      appendFixed(s, speed, 0, 1, '.');
      s += ',';
      appendFixed(s, rpm, 0, 0, '.');
      s += ',';
      s += trimmed(texts_.accelerationX[r[5]]);
      s += ',';
      s += trimmed(texts_.accelerationY[r[6]]);
      s += ',';
      appendFixed(s, potiValue(v_, r[7], volts), 0, 0, '.');
      s += ',';
      s += trimmed(texts_.lambda[r[8]]);
      s += ',';
      s += trimmed(texts_.lambda[r[9]]);
      s += marker ? ",1" : ",0";
      for (char c : groupText) {
        if (c != ' ') s += c;
      }
      out_.append(s);
      out_.newline();
      return;
    }
    // The line is built in place: it is written some ten million times
    // for a full card.
    char* const line = out_.reserve(TextSink::kMaxReserve);
    char* p = put(line, date);
    p = put(p, time);
    *p++ = '\t';
    p = putInt(p, metres / 1000, 3);
    *p++ = ',';
    p = putInt(p, metres % 1000 < 0 ? -(metres % 1000) : metres % 1000, 3, true);
    *p++ = '\t';
    p = putFixed(p, speed, 3, 1, ',');
    *p++ = '\t';
    p = putFixed(p, rpm, 4, 0, ',');
    *p++ = '\t';
    p = put(p, texts_.accelerationX[r[5]]);
    *p++ = '\t';
    p = put(p, texts_.accelerationY[r[6]]);
    *p++ = '\t';
    p = potiText(p, r[7], voltsRaw, volts);
    *p++ = '\t';
    p = put(p, texts_.lambda[r[8]]);
    *p++ = '\t';
    p = put(p, texts_.lambda[r[9]]);
    *p++ = '\t';
    *p++ = marker ? '1' : ' ';
    p = put(p, groupText);
    p = put(p, "\r\n");
    out_.commit(p);
  }

  // "%4.0f" of the poti value, which depends on its byte and the group's
  // voltage byte alone: each pair is formatted once.
  char* potiText(char* p, uint8_t raw, uint8_t voltsRaw, double volts) {
    if (potiLengths_.empty()) {
      potiLengths_.resize(65536);
      potiChars_.reset(new char[65536 * kPotiText]);
    }
    const size_t key = static_cast<size_t>(raw) << 8 | voltsRaw;
    char* text = potiChars_.get() + key * kPotiText;
    if (potiLengths_[key] == 0) {
      char buffer[448];
      const char* end = putFixed(buffer, potiValue(v_, raw, volts), 4, 0, ',');
      const auto n = static_cast<size_t>(end - buffer);
      if (n > kPotiText) return put(p, std::string_view(buffer, n));
      std::memcpy(text, buffer, n);
      potiLengths_[key] = static_cast<uint8_t>(n);
    }
    return put(p, std::string_view(text, potiLengths_[key]));
  }

  static std::string_view trimmed(const std::string& text) {
    std::string_view v(text);
    while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
    return v;
  }

  void streamBlock(const uint8_t* b) {
    // One table in CSV: the ignition's stream stays in the text format.
    if (csv_) return;
    const BlockHeader h = header(b);
    std::string stamp = "\r\n";
    appendInt(stamp, h.day, 2, true);
    stamp += '.';
    appendInt(stamp, h.month, 2, true);
    stamp += '.';
    appendInt(stamp, 2000 + h.year, 4, true);
    stamp += '\t';
    appendInt(stamp, h.clock.hour, 2, true);
    stamp += ':';
    appendInt(stamp, h.clock.minute, 2, true);
    stamp += ':';
    appendInt(stamp, h.clock.second, 2, true);
    side_.append(stamp);
    std::string& s = stamp;
    for (int i = kDataStart; i < kBlockSize; ++i) {
      window_[fill_++] = b[i];
      if (fill_ < 5) continue;
      if (frame(s)) break;
    }
    out_.append(s);
  }

  // Handles the 5 bytes in the window; true when they end the block.
  bool frame(std::string& s) {
    const auto& f = window_;
    if (f[0] == 0xFF && f[1] == 0xFF && f[2] == 0xFF && f[3] == 0xFF && f[4] == 0xFF) {
      fill_ = 0;
      return true;
    }
    if ((f[0] >> 4) != 0x0F) {
      // Out of step: show the stray byte and look for a frame start after it.
      if (!streamError_) {
        s += "\r\n";
        streamError_ = true;
      }
      appendHexByte(s, f[0]);
      for (int i = 0; i < 4; ++i) window_[i] = window_[i + 1];
      fill_ = 4;
      return false;
    }
    if (streamError_) {
      s += "\tEmpfangs-Fehler";
      streamError_ = false;
    }
    s += "\r\n";
    for (uint8_t byte : f) appendHexByte(s, byte);
    fill_ = 0;
    const int64_t z = v_.cylinders;
    if (f[0] == 0xFF) {
      int64_t p = f[1] * 256 + f[2];
      if (p == 0) p = 1;
      int64_t a = f[3] * 256 + f[4];
      if (a > 0x8000) a -= 65536;
      appendInt(s, z > 0 ? 30000000 / (z * p) : 0, 5);
      s += " rpm \t";
      appendInt(s, z > 0 ? (a * 360 / z) / p : 0, 2);
      s += " Grad\tP: ";
      appendInt(s, p, 5);
      s += ' ';
      appendInt(s, p * 4 / 1000, 3);
      s += " ms W: ";
      appendInt(s, a, 4);
    } else if ((f[0] | 0x0C) == 0xFE) {
      const auto t1 = static_cast<uint16_t>(f[1] * 256 + f[2]);
      int64_t d1 = static_cast<uint16_t>(t1 - previousT1_);
      if (d1 == 0) d1 = 1;
      previousT1_ = t1;
      s += '\t';
      appendInt(s, z > 0 ? 30000000 / (z * d1) : 0, 5);
      s += " rpm";
      timer(s, t1, d1);
      const auto t2 = static_cast<uint16_t>(f[3] * 256 + f[4]);
      const auto d2 = static_cast<uint16_t>(t2 - previousT2_);
      previousT2_ = t2;
      timer(s, t2, d2);
      if ((f[0] & 0x08) == 0) s += "\tZuendung";
      if ((f[0] & 0x04) == 0) s += "\tZ1";
    }
    return false;
  }

  // "\t%5i\t%5i\t%3i ms".
  static void timer(std::string& s, int64_t t, int64_t d) {
    s += '\t';
    appendInt(s, t, 5);
    s += '\t';
    appendInt(s, d, 5);
    s += '\t';
    appendInt(s, d / 250, 3);
    s += " ms";
  }

  void writeCsvHeader() {
    auto unit = [](const std::string& name, const std::string& u) {
      std::string column = u.empty() ? name : name + " [" + u + "]";
      if (column.find_first_of(",\"") == std::string::npos) return column;
      std::string quoted = "\"";
      for (char c : column) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
      return quoted + "\"";
    };
    std::string s;
    s += "time,distance [m],speed [km/h],engine speed [1/min],acceleration X [g],"
         "acceleration Y [g],";
    s += unit("throttle", v_.poti.parameter != 0 ? v_.poti.unit : "raw");
    s += ",lambda A,lambda B,marker";
    for (size_t i = 0; i < v_.sensors.size(); ++i) {
      s += ',' + unit("sensor " + std::to_string(i + 1), v_.sensors[i].unit);
    }
    s += ",supply voltage [V]";
    out_.append(s);
    out_.newline();
  }

  static constexpr size_t kPotiText = 16;

  const VehicleData& v_;
  // Made on first use: per (poti byte, voltage byte) its text and length.
  std::vector<uint8_t> potiLengths_;
  std::unique_ptr<char[]> potiChars_;
  bool csv_;
  ByteTexts texts_;
  TextSink out_;
  TextSink side_;
  SpeedTracker speed_;
  int32_t previousBlockEnd_ = kNoBlockYet;
  std::array<uint8_t, 5> window_{};
  int fill_ = 0;
  bool streamError_ = false;
  uint16_t previousT1_ = 0;
  uint16_t previousT2_ = 0;
};

}  // namespace

int32_t convertCarLog(std::istream& in, const VehicleData& vehicle, std::ostream& out,
                      std::ostream* rawCopy, std::ostream* sideFile,
                      const ConversionOptions& options, ConversionCounts* counts) {
  CarLogConverter converter(vehicle, out, sideFile, options.format);
  converter.writeHeader(options.stamp);
  TextSink raw(rawCopy, false);
  uint64_t blocks = 0;
  {
    BlockReader reader(in, options);
    while (const uint8_t* b = reader.next()) {
      if (blockErased(b)) continue;
      raw.append({reinterpret_cast<const char*>(b), kBlockSize});
      raw.poll();
      converter.block(b);
      ++blocks;
    }
    if (reader.failed()) return texts::kTextFileReadError;
  }
  const bool ok = converter.finish() && raw.flush();
  if (counts != nullptr) {
    counts->blocks = blocks;
    counts->bytesOut = converter.bytesOut();
  }
  return ok ? 0 : texts::kTextFileWriteError;
}

}  // namespace loggers
