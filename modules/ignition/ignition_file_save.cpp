#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "modules/ignition/conversions.h"
#include "modules/ignition/ignition_file.h"
#include "platform/cp1252.h"
#include "shell/atomic_file.h"
#include "texts/text_ids.h"

namespace ignition {

namespace {

// Collects the file as UTF-8 lines; converted to cp1252 once at the end.
class FileText {
 public:
  void line(std::string_view text) {
    text_ += text;
    text_ += "\r\n";
  }
  void number(int32_t value) { line(std::to_string(value)); }
  void tagged(std::string_view tag, int32_t value) {
    line(tag);
    number(value);
  }
  void raw(std::string_view text) { text_ += text; }
  // Free text (the vehicle information). Tags are searched from the top of
  // the file and these texts stand above most of them, so a text line that
  // starts with "[" would end its value early or be taken for a tag of the
  // same name; it gets a blank in front. An empty line inside the comment
  // would end it and lose the lines after it; it is written as a blank.
  void freeText(std::string_view text) {
    size_t lastFilled = std::string_view::npos;
    std::vector<std::string_view> lines = splitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
      if (!lines[i].empty()) lastFilled = i;
    }
    for (size_t i = 0; i < lines.size(); ++i) {
      std::string_view l = lines[i];
      if (!l.empty() && l.front() == '[') {
        raw(" ");
      } else if (l.empty() && lastFilled != std::string_view::npos && i < lastFilled) {
        raw(" ");
      }
      line(l);
    }
  }
  std::string cp1252() const { return platform::utf8ToCp1252(text_); }

 private:
  static std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (;;) {
      size_t lf = text.find('\n', start);
      std::string_view l = text.substr(start, lf == std::string_view::npos ? lf : lf - start);
      if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
      lines.push_back(l);
      if (lf == std::string_view::npos) return lines;
      start = lf + 1;
    }
  }

  std::string text_;
};

void pressureCurve(FileText& f, const IgnitionRecord& r, const PressureCurve& c) {
  for (int i = 0; i < kPressurePoints && c.pressure[i] != kEndOfCurve; ++i) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04i mBar %i",
                  byteToPressure(r.relativePressure(), c.pressure[i]),
                  static_cast<int>(c.angle[i]));
    f.line(buf);
  }
}

// "[Dump]" and 16 rows of 16 bytes; the file ends after the last byte.
void memoryImage(FileText& f, const IgnitionRecord& r) {
  f.raw("[Dump]");
  for (int a = 0; a < 256; ++a) {
    char buf[16];
    if (a % 16 == 0) {
      std::snprintf(buf, sizeof buf, "\r\n0x%02x\t", a);
      f.raw(buf);
    }
    std::snprintf(buf, sizeof buf, "%02x ", r.memoryImage[a]);
    f.raw(buf);
  }
}

}  // namespace

std::string ignitionFileText(const IgnitionState& s) {
  const IgnitionRecord& r = s.record;
  FileText f;
  f.line("[Zuendung]");
  f.tagged("[FileVersion]", kIgnitionFileVersion);
  char serial[16];
  std::snprintf(serial, sizeof serial, "%07i", static_cast<int>(r.SerienNummer));
  f.line("[SerienNummer]");
  f.line(serial);
  f.tagged("[HwTyp]", r.HwTyp);
  f.line("[InfoHersteller]");
  f.freeText(r.InfoHersteller);
  f.line("[InfoTyp]");
  f.freeText(r.InfoTyp);
  f.line("[InfoAusfuehrung]");
  f.freeText(r.InfoAusfuehrung);
  f.line("[InfoKommentar]");
  f.freeText(r.InfoKommentar);
  f.tagged("[MaxTemperatur]", ktyTemperature(r.maxTempRelative));
  f.tagged("[MaxTemperaturAbs]", ktyTemperature(r.maxTempAbsolute));
  f.tagged("[Zylinder]", r.Zylinder);
  f.tagged("[Takte]", r.Takte);
  f.tagged("[Ladezeit]", r.Ladezeit);
  f.tagged("[StartZeit]", r.StartZeit);
  f.tagged("[Offset]", r.Offset);
  f.tagged("[Limiter]", s.limiterEdit);
  f.tagged("[LimiterZahl]", r.LimiterZahl);
  f.tagged("[UnterDruckSensorF]", r.UnterDruckSensorF);
  f.tagged("[UnterDruckSensorC]", r.UnterDruckSensorC);
  f.line("[UnterDruckA]");
  pressureCurve(f, r, r.UnterDruckA);
  f.line("[UnterDruckB]");
  pressureCurve(f, r, r.UnterDruckB);
  f.tagged("[Flags]", r.Flags);
  f.tagged("[FlagsB]", r.FlagsB);
  f.tagged("[FlagsC]", r.FlagsC);
  f.tagged("[FlagsD]", r.FlagsD);
  f.tagged("[Versatz]", r.Versatz);
  f.tagged("[LogModus]", r.LogModus);
  f.tagged("[GeberModus]", r.GeberModus);
  f.tagged("[KwZaehne]", r.KwZaehne);
  f.tagged("[KwLuecke]", r.KwLuecke);
  f.tagged("[SchaltBlitz]", r.SchaltBlitz);
  f.line("[KanalTabelle]");
  for (uint8_t v : r.KanalTabelle) f.number(v);
  f.line("[HwLimiter]");
  for (uint8_t v : r.HwLimiter) f.number(v);
  f.tagged("[UHkz]", r.UHkz);
  f.tagged("[BetriebsDauer]", r.BetriebsDauer);
  f.line("[Kennlinie]");
  for (const std::string& e : s.curve1.entries()) f.line(e);
  f.line("[KennlinieB]");
  for (const std::string& e : s.curve2.entries()) f.line(e);
  f.line("[Korrektur]");
  for (int8_t v : r.Korrektur) f.number(v);
  if (s.dumpPresent) memoryImage(f, r);
  return f.cp1252();
}

int32_t saveIgnitionFile(const IgnitionState& state, const std::string& path) {
  const std::string bytes = ignitionFileText(state);
  // The file is replaced as a whole, so a full disk never leaves a cut file
  // that would load with wrong values. A new file is created first, so that
  // it gets the permissions of any other file the user makes.
  struct stat st {};
  const bool existed = ::stat(path.c_str(), &st) == 0;
  if (!existed) {
    std::FILE* created = std::fopen(path.c_str(), "wb");
    if (created == nullptr) return texts::kTextCannotOpenFile;
    std::fclose(created);
  }
  if (!shell::replaceFileAtomically(path, bytes)) {
    if (!existed) std::remove(path.c_str());
    return texts::kTextCannotOpenFile;
  }
  return 0;
}

}  // namespace ignition
