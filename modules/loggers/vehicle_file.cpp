#include "modules/loggers/vehicle_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "shell/c_numbers.h"
#include "shell/tagged_file.h"
#include "texts/logger_text_ids.h"
#include "texts/text_ids.h"

namespace loggers {

namespace {

// The file's lines in order with one line of lookahead: a curve ends at the
// first line that is not a curve line, and that line is the next tag.
class Lines {
 public:
  explicit Lines(shell::TaggedReader& reader) : reader_(reader) {}
  bool next(std::string& line, size_t size = shell::TaggedReader::kLineLength + 1) {
    if (pending_) {
      line = pending_->substr(0, size - 1);
      pending_.reset();
      return true;
    }
    return reader_.readText(line, size) == 0;
  }
  void putBack(std::string line) { pending_ = std::move(line); }

 private:
  shell::TaggedReader& reader_;
  std::optional<std::string> pending_;
};

// The first `count` characters of a UTF-8 text (one cp1252 byte each on disk).
std::string firstCharacters(const std::string& text, size_t count) {
  size_t end = 0;
  for (size_t n = 0; end < text.size() && n < count; ++n) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return text.substr(0, end);
}

bool startsWith(std::string_view line, std::string_view tag) {
  return line.substr(0, tag.size()) == tag;
}

std::optional<double> scanDecimal(std::string line) {
  std::replace(line.begin(), line.end(), ',', '.');
  return scanDouble(line);
}

bool readFloat(Lines& lines, float& value) {
  std::string line;
  if (!lines.next(line)) return false;
  std::replace(line.begin(), line.end(), ',', '.');
  const std::optional<float> v = shell::scanFloat(line);
  if (!v) return false;
  value = *v;
  return true;
}

bool readInt(Lines& lines, int32_t& value) {
  std::string line;
  if (!lines.next(line)) return false;
  const std::optional<int32_t> v = shell::scanInt(line);
  if (!v) return false;
  value = *v;
  return true;
}

bool expect(Lines& lines, std::string_view tag) {
  std::string line;
  return lines.next(line) && startsWith(line, tag);
}

// Key, an ignored word, value.
bool parseCurveLine(const std::string& line, int32_t& key, double& value) {
  size_t p = 0;
  auto field = [&]() -> std::string {
    while (p < line.size() && (line[p] == ' ' || line[p] == '\t')) ++p;
    const size_t start = p;
    while (p < line.size() && line[p] != ' ' && line[p] != '\t') ++p;
    return line.substr(start, p - start);
  };
  const std::optional<int32_t> k = shell::scanInt(field());
  field();
  const std::optional<double> v = scanDecimal(field());
  if (!k || !v) return false;
  key = *k;
  value = *v;
  return true;
}

// The curve lines up to the first line that does not start with a digit,
// which is put back as the next tag.
bool readCurve(Lines& lines, SensorCurve& curve) {
  struct Point {
    int32_t key;
    double value;
  };
  std::vector<Point> points;
  std::string line;
  while (lines.next(line)) {
    if (line.empty() || !std::isdigit(static_cast<unsigned char>(line[0]))) {
      lines.putBack(line);
      break;
    }
    if (points.size() == kCurveLines) return false;
    Point p{};
    if (!parseCurveLine(line, p.key, p.value)) return false;
    points.push_back(p);
  }
  std::stable_sort(points.begin(), points.end(),
                   [](const Point& a, const Point& b) { return a.key > b.key; });
  for (size_t i = 0; i < points.size(); ++i) {
    curve.keys[i] = points[i].key;
    curve.values[i] = points[i].value;
  }
  return true;
}

bool readUnit(Lines& lines, std::string& unit) {
  if (!lines.next(unit)) return false;
  unit = firstCharacters(unit, kUnitLength);
  return true;
}

bool readPoti(Lines& lines, SensorCurve& poti) {
  std::string line;
  if (!lines.next(line)) return false;
  if (!startsWith(line, "[Poti]")) {
    lines.putBack(line);
    return true;
  }
  poti.parameter = 1;
  if (!readUnit(lines, poti.unit) || !lines.next(line)) return false;
  // The poti factor is read as written: a "," ends the number.
  const std::optional<double> factor = scanDouble(line);
  if (!factor) return false;
  poti.factor = *factor;
  return readCurve(lines, poti);
}

bool readSensor(Lines& lines, int index, SensorCurve& sensor) {
  if (!expect(lines, "[Sensor" + std::to_string(index) + "]")) return false;
  std::string line;
  if (!lines.next(line)) return index == 4;  // the last sensor may end the file
  if (startsWith(line, "[")) {
    lines.putBack(line);  // not fitted: the next tag follows at once
    return true;
  }
  sensor.unit = firstCharacters(line, kUnitLength);
  std::string factorLine;
  if (!lines.next(factorLine)) return false;
  const std::optional<double> factor = scanDecimal(factorLine);
  if (!factor || !readInt(lines, sensor.parameter)) return false;
  sensor.factor = *factor;
  return readCurve(lines, sensor);
}

int32_t parse(Lines& lines, VehicleData& d) {
  std::string line;
  if (!lines.next(line) || !startsWith(line, "[CarLogger]")) return texts::kTextWrongFileSelected;
  const bool ok = expect(lines, "[Referenz]") && readFloat(lines, d.reference) &&
                  expect(lines, "[G-Sensor]") && readFloat(lines, d.gOffsetX) &&
                  readFloat(lines, d.gOffsetY) && expect(lines, "[RadUmfang]") &&
                  readFloat(lines, d.wheelCircumference) && expect(lines, "[Zylinder]") &&
                  readInt(lines, d.cylinders) && readPoti(lines, d.poti);
  if (!ok) return texts::kTextFileError;
  for (int i = 0; i < 4; ++i) {
    if (!readSensor(lines, i + 1, d.sensors[i])) return texts::kTextFileError;
  }
  return 0;
}

}  // namespace

std::optional<double> scanDouble(std::string_view text) {
  size_t p = 0;
  while (p < text.size() && std::isspace(static_cast<unsigned char>(text[p]))) ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
    negative = text[p] == '-';
    ++p;
  }
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) return std::nullopt;
  double value = 0.0;
  const auto r = std::from_chars(text.data() + p, text.data() + text.size(), value);
  if (r.ec == std::errc::invalid_argument) return std::nullopt;
  return negative ? -value : value;
}

int32_t readVehicleFile(const std::string& path, VehicleData& data) {
  std::error_code ignored;
  // A folder (the key's default before any file was chosen) opens on Linux.
  if (std::filesystem::is_directory(path, ignored)) return texts::kTextChooseVehicleFile;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return texts::kTextChooseVehicleFile;
  shell::TaggedReader reader(file);
  Lines lines(reader);
  VehicleData d;
  const int32_t r = parse(lines, d);
  reader.closeAndReturn(0);
  if (r == 0) data = d;
  return r;
}

}  // namespace loggers
