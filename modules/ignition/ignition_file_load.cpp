#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "modules/ignition/conversions.h"
#include "modules/ignition/ignition_file.h"
#include "platform/cp1252.h"
#include "shell/tagged_file.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"

namespace ignition {

namespace {

constexpr size_t kLineBuffer = shell::TaggedReader::kLineLength + 1;
// The longest line that comes back whole, line end included, from the reader
// here and from the Windows program's: a longer one would be split there.
constexpr size_t kLongestWholeLine = shell::TaggedReader::kLineLength - 1;
constexpr size_t kInfoTextLength = 24;
constexpr size_t kCommentLength = 255;

// A line is a C string to the Windows program: a NUL ends it. Kept inside a
// vehicle-information text, it would split the text when it is written to
// the module. CRs left at the end of a cut line go too: the reader takes
// them for the line end everywhere else, so a value ending in one would
// lose it on the next load of the file it is saved to.
void cutAtNul(std::string& text) {
  size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  while (!text.empty() && text.back() == '\r') text.pop_back();
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Characters of a UTF-8 text (one per cp1252 byte in the file).
size_t codePoints(std::string_view text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

// The first character of a UTF-8 string's `count`-th code point on.
size_t codePointOffset(const std::string& text, size_t count) {
  size_t i = 0;
  for (size_t seen = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && seen++ == count) break;
  }
  return i;
}

// The decimal number at the start of a text, like C atoi, but held to a
// range in which the pressure conversion cannot overflow.
int32_t leadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  int64_t value = 0;
  constexpr int64_t kLimit = 1000000000;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    value = std::min(value * 10 + (text[i] - '0'), kLimit);
  }
  return static_cast<int32_t>(negative ? -value : value);
}

// The shell's tagged reader for one file. Multi-line values end at a tag
// line, an empty line or the end of the file; at the end the reader closes
// itself, so the file is opened again for the tags still to come (every tag
// is searched from the top anyway).
class Reader {
 public:
  explicit Reader(std::string path) : path_(std::move(path)) { reopen(); }

  bool isOpen() const { return reader_->isOpen(); }
  bool seek(std::string_view tag) {
    atEnd_ = false;
    return reader_->seekTag(tag, 0) == 0;
  }
  bool readInt(int32_t& value) { return reader_->readInt(value) == 0; }
  bool readByte(uint8_t& value) { return reader_->readByteValue(value) == 0; }
  bool readText(std::string& text, size_t length) {
    if (reader_->readText(text, length + 1) != 0) return false;
    cutAtNul(text);
    return true;
  }
  // The next line of a multi-line value, without its line end; false at its
  // end.
  bool nextValueLine(std::string& line) {
    if (!nextPiece(line)) return false;
    cutAtNul(line);
    return !line.empty() && line.front() != '[';
  }
  // As nextValueLine, but a line longer than the reader's buffer is one
  // line, not several: the rest that the reader hands out as further lines
  // is skipped. Otherwise the line end behind a full buffer would read as an
  // empty line and end the value early.
  bool nextWholeLine(std::string& line) {
    if (!nextPiece(line)) return false;
    std::string rest;
    for (bool cut = codePoints(line) == shell::TaggedReader::kLineLength; cut;) {
      if (!nextPiece(rest)) {
        atEnd_ = true;
        break;
      }
      cut = codePoints(rest) == shell::TaggedReader::kLineLength;
    }
    cutAtNul(line);
    return !line.empty() && line.front() != '[';
  }

 private:
  // One line as the reader hands it out (at most its buffer); false at the
  // end of the file.
  bool nextPiece(std::string& piece) {
    if (atEnd_ || reader_->readText(piece, kLineBuffer) != 0) {
      atEnd_ = false;
      reopen();
      return false;
    }
    return true;
  }
  void reopen() {
    reader_.reset();
    reader_.emplace(std::fopen(path_.c_str(), "rb"));
  }

  std::string path_;
  std::optional<shell::TaggedReader> reader_;
  bool atEnd_ = false;  // the last line skipped ran into the end of the file
};

struct Loader {
  Reader& file;
  IgnitionState& state;
  int32_t version;
  IgnitionRecord& record() { return state.record; }
};

// One setting of the file: its tag, and how the line or lines after the tag
// go into the state. An empty tag: the reader finds its own tags.
struct Setting {
  std::string_view tag;
  bool (*read)(Loader&);
};

template <auto Field>
bool byteValue(Loader& l) {
  return l.file.readByte(l.record().*Field);
}

template <auto Field>
bool intValue(Loader& l) {
  int32_t value = 0;
  if (!l.file.readInt(value)) return false;
  l.record().*Field = value;
  return true;
}

template <auto Field>
bool infoText(Loader& l) {
  std::string& text = l.record().*Field;
  // One more character than the text holds: the blank that saving puts in
  // front of a text starting with "[" is not part of it.
  if (!l.file.readText(text, kInfoTextLength + 1)) return false;
  if (text.size() > 1 && text[0] == ' ' && text[1] == '[') text.erase(0, 1);
  text.resize(codePointOffset(text, kInfoTextLength));
  while (!text.empty() && text.back() == '\r') text.pop_back();
  return true;
}

bool chargeTime(Loader& l) {
  if (!l.file.readByte(l.record().Ladezeit)) return false;
  l.record().LadezeitUrsprung = l.record().Ladezeit;
  return true;
}

bool limiter(Loader& l) {
  return l.file.readInt(l.state.limiterEdit);
}

bool bytes(Loader& l, std::span<uint8_t> values) {
  for (uint8_t& v : values) {
    if (!l.file.readByte(v)) return false;
  }
  return true;
}

bool hwLimiter(Loader& l) {
  return bytes(l, l.record().HwLimiter);
}

// Version 9 knew six firing-order positions.
bool channelTable(Loader& l) {
  return bytes(l, std::span(l.record().KanalTabelle).first(l.version == 9 ? 6 : 8));
}

bool corrections(Loader& l) {
  for (int8_t& v : l.record().Korrektur) {
    int32_t value = 0;
    if (!l.file.readInt(value)) return false;
    v = static_cast<int8_t>(static_cast<uint8_t>(value & 0xFF));
  }
  return true;
}

// Lines joined with line feeds, at most 255 characters; what does not fit
// is dropped.
bool comment(Loader& l) {
  std::string& text = l.record().InfoKommentar;
  text.clear();
  size_t room = kCommentLength;
  std::string line;
  bool first = true;
  while (room > 0 && l.file.nextValueLine(line)) {
    std::string piece = first ? line : "\n" + line;
    first = false;
    // One character is one UTF-8 sequence (one cp1252 byte in the file).
    size_t end = 0;
    while (end < piece.size() && room > 0) {
      ++end;
      while (end < piece.size() && (static_cast<unsigned char>(piece[end]) & 0xC0) == 0x80) ++end;
      --room;
    }
    text.append(piece, 0, end);
  }
  // A cut that leaves a line feed (or a CR) at the end would save as an
  // empty line, which ends the comment when the file is loaded again.
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return true;
}

// "%04i mBar %i" lines: up to 8 points, the slot after the last one ends
// the curve.
bool pressureLines(Loader& l, PressureCurve& curve) {
  std::string line;
  int count = 0;
  while (count < kPressurePoints && l.file.nextValueLine(line)) {
    // Positions count in the file's bytes.
    const std::string raw = platform::utf8ToCp1252(line);
    curve.pressure[count] = pressureToByte(l.record().relativePressure(), leadingNumber(raw));
    curve.angle[count] = static_cast<int8_t>(
        angleToByte(raw.size() > 10 ? leadingNumber(std::string_view(raw).substr(10)) : 0));
    ++count;
  }
  if (count < kPressurePoints) curve.pressure[count] = kEndOfCurve;
  return true;
}

// Before version 7 each curve had two points under three tags, the
// pressures stored as 101 - p and a sensor offset of 10 assumed.
bool oldPressureCurve(Loader& l, PressureCurve& curve, std::string_view p1, std::string_view p2,
                      std::string_view angle) {
  uint8_t pressure1 = 0, pressure2 = 0, angle0 = 0;
  if (!l.file.seek(p1) || !l.file.readByte(pressure1)) return false;
  if (!l.file.seek(p2) || !l.file.readByte(pressure2)) return false;
  if (!l.file.seek(angle) || !l.file.readByte(angle0)) return false;
  curve.pressure[0] = static_cast<uint8_t>(101 - pressure2);
  curve.angle[0] = static_cast<int8_t>(angle0);
  curve.pressure[1] = static_cast<uint8_t>(101 - pressure1);
  curve.angle[1] = 0;
  curve.pressure[2] = kEndOfCurve;
  return true;
}

bool pressureCurves(Loader& l) {
  IgnitionRecord& r = l.record();
  if (l.version >= 7) {
    return l.file.seek("[UnterDruckA]") && pressureLines(l, r.UnterDruckA) &&
           l.file.seek("[UnterDruckB]") && pressureLines(l, r.UnterDruckB);
  }
  if (!oldPressureCurve(l, r.UnterDruckA, "[UnterDruck1P1]", "[UnterDruck1P2]",
                        "[UnterDruck1Winkel]") ||
      !oldPressureCurve(l, r.UnterDruckB, "[UnterDruck2P1]", "[UnterDruck2P2]",
                        "[UnterDruck2Winkel]")) {
    return false;
  }
  r.UnterDruckSensorC = 10;
  return true;
}

// The lines of an rpm curve, taken as they stand. Older files wrote four
// digits; a leading 0 makes them sort among the five-digit entries. An entry
// is kept short enough to be saved as one line that loads back whole (here
// and in the Windows program), so nothing behind it is lost on the next load.
void curveLines(Loader& l, CurveList& list) {
  std::vector<std::string> lines;
  std::string line;
  while (l.file.nextWholeLine(line)) {
    const bool fourDigits = line.size() >= 4 &&
                            std::all_of(line.begin(), line.begin() + 4, isDigit) &&
                            (line.size() == 4 || !isDigit(line[4]));
    std::string entry(fourDigits ? "0" : "");
    entry += line;
    entry.resize(codePointOffset(entry, kLongestWholeLine));
    // A CR at the new end would be taken for part of the line end.
    while (!entry.empty() && entry.back() == '\r') entry.pop_back();
    // Saved, an empty entry would end the curve.
    if (!entry.empty()) lines.push_back(std::move(entry));
  }
  // Added in sorted order, each lands at the end of the list: the same list
  // as adding them one by one, without the quadratic cost of a huge file.
  std::stable_sort(lines.begin(), lines.end());
  for (const std::string& entry : lines) list.addUnchecked(entry);
}

using R = IgnitionRecord;

// What every version holds before its curves.
constexpr Setting kBase[] = {
    {"[Zylinder]", byteValue<&R::Zylinder>},
    {"[Takte]", byteValue<&R::Takte>},
    {"[Ladezeit]", chargeTime},
    {"[Limiter]", limiter},
    {"[Flags]", byteValue<&R::Flags>},
};

// Each version adds its settings to those of an older one.
constexpr Setting kV13[] = {
    {"[LimiterZahl]", byteValue<&R::LimiterZahl>},
    {"[GeberModus]", byteValue<&R::GeberModus>},
    {"[FlagsD]", byteValue<&R::FlagsD>},
};
constexpr Setting kV12[] = {
    {"[GeberModus]", byteValue<&R::GeberModus>},
    {"[FlagsD]", byteValue<&R::FlagsD>},
};
constexpr Setting kV11[] = {
    {"[FlagsD]", byteValue<&R::FlagsD>},
};
constexpr Setting kV10[] = {
    {"[HwLimiter]", hwLimiter},
    {"[UHkz]", byteValue<&R::UHkz>},
    {"[BetriebsDauer]", intValue<&R::BetriebsDauer>},
};
// clang-format off
constexpr Setting kV9[] = {
    {"[HwTyp]", intValue<&R::HwTyp>},
    {"[FlagsC]", byteValue<&R::FlagsC>},
    {"[KanalTabelle]", channelTable},
    {"[InfoHersteller]", infoText<&R::InfoHersteller>},
    {"[InfoTyp]", infoText<&R::InfoTyp>},
    {"[InfoAusfuehrung]", infoText<&R::InfoAusfuehrung>},
    {"[InfoKommentar]", comment},
    {"[SchaltBlitz]", intValue<&R::SchaltBlitz>},
};
// clang-format on
constexpr Setting kV8[] = {
    {"[SchaltBlitz]", intValue<&R::SchaltBlitz>},
};
constexpr Setting kV6[] = {
    {"[KwZaehne]", byteValue<&R::KwZaehne>},
    {"[KwLuecke]", byteValue<&R::KwLuecke>},
    {"[FlagsB]", byteValue<&R::FlagsB>},
};
constexpr Setting kV5[] = {
    {"[FlagsB]", byteValue<&R::FlagsB>},
};
constexpr Setting kV4[] = {
    {"[Versatz]", byteValue<&R::Versatz>},
    {"[LogModus]", byteValue<&R::LogModus>},
};
constexpr Setting kV3[] = {
    {"[Offset]", intValue<&R::Offset>},
    {"[UnterDruckSensorF]", byteValue<&R::UnterDruckSensorF>},
    {"[UnterDruckSensorC]", byteValue<&R::UnterDruckSensorC>},
    {"", pressureCurves},
};
constexpr Setting kV2[] = {
    {"[StartZeit]", byteValue<&R::StartZeit>},
    {"[Korrektur]", corrections},
};

struct VersionRow {
  int32_t version;
  std::span<const Setting> settings;
  int32_t continueWith;  // 0: done
};

constexpr VersionRow kVersions[] = {
    {13, kV13, 10}, {12, kV12, 10}, {11, kV11, 10}, {10, kV10, 9}, {9, kV9, 6}, {8, kV8, 6},
    {7, kV6, 4},    {6, kV6, 4},    {5, kV5, 4},    {4, kV4, 3},   {3, kV3, 2}, {2, kV2, 0},
};

const VersionRow* rowOf(int32_t version) {
  for (const VersionRow& row : kVersions) {
    if (row.version == version) return &row;
  }
  return nullptr;
}

bool readSettings(Loader& l, std::span<const Setting> settings) {
  for (const Setting& s : settings) {
    if (!s.tag.empty() && !l.file.seek(s.tag)) return false;
    if (!s.read(l)) return false;
  }
  return true;
}

// The steps after the file kind has been recognised; false: 8015.
bool readFile(Loader& l) {
  if (l.file.seek("[FileVersion]")) {
    if (!l.file.readInt(l.version)) return false;
  } else {
    l.version = 1;
  }
  l.state.curve1.clear();
  l.state.curve2.clear();
  if (!readSettings(l, kBase)) return false;
  if (!l.file.seek("[Kennlinie]")) return false;
  curveLines(l, l.state.curve1);
  if (!l.file.seek("[KennlinieB]")) return false;
  curveLines(l, l.state.curve2);
  // Version 1 and versions this program does not know end with the curves.
  for (const VersionRow* row = rowOf(l.version); row != nullptr; row = rowOf(row->continueWith)) {
    if (!readSettings(l, row->settings)) return false;
  }
  return true;
}

}  // namespace

int32_t loadIgnitionFile(IgnitionState& state, const std::string& path) {
  Reader file(path);
  if (!file.isOpen()) return texts::kTextCannotOpenFile;
  if (!file.seek("[Zuendung]")) return texts::kTextWrongFileSelected;
  resetRecord(state.record);
  state.recordValid = false;
  Loader loader{file, state, 1};
  if (!readFile(loader)) return texts::kTextFileError;
  deriveCapabilities(state.record);
  reevaluateDirectMode(state);
  state.recordValid = true;
  return loader.version == kIgnitionFileVersion ? 0 : texts::kTextOldFileFormat;
}

}  // namespace ignition
