#include "modules/displays/field_text.h"

#include <functional>
#include <map>
#include <optional>

#include "shell/field_number.h"
#include "texts/text_ids.h"

namespace displays {

namespace {

constexpr std::string_view kOilCaption = "Öl-Anzeige";
constexpr std::string_view kStopwatchCaption = "Stopuhr";
constexpr std::string_view kRallyCaption = "Rallye-Timer";

void field(std::string& out, std::string_view label, const std::string& value) {
  out.append(label).append("=").append(value).append("\n");
}
std::string number(int32_t v) {
  return std::to_string(v);
}

using Setter = std::function<bool(std::string_view value)>;

std::function<bool(std::string_view)> numberInto(int32_t& target) {
  return [&target](std::string_view value) {
    const std::optional<int32_t> v = shell::parseFieldNumber(value);
    if (!v) return false;
    target = *v;
    return true;
  };
}

// Runs the setters over the "label=value" lines after the caption; labels
// without a setter are read-only fields and skipped.
int32_t parseFields(std::string_view text, std::string_view caption,
                    const std::map<std::string_view, Setter>& setters,
                    const std::map<std::string_view, bool>& readOnly) {
  size_t pos = text.find('\n');
  std::string_view first = text.substr(0, pos);
  if (!first.empty() && first.back() == '\r') first.remove_suffix(1);
  if (first != caption) return texts::kTextWrongFileSelected;
  while (pos != std::string_view::npos && pos + 1 < text.size()) {
    const size_t start = pos + 1;
    pos = text.find('\n', start);
    std::string_view line = text.substr(start, pos == std::string_view::npos ? pos : pos - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return texts::kTextFileError;
    const std::string_view label = line.substr(0, eq);
    auto it = setters.find(label);
    if (it == setters.end()) {
      if (readOnly.count(label) != 0) continue;
      return texts::kTextFileError;
    }
    if (!it->second(line.substr(eq + 1))) return texts::kTextFileError;
  }
  return 0;
}

}  // namespace

std::string oilDisplayText(const OilDisplaySettings& s) {
  std::string out(kOilCaption);
  out += "\n";
  field(out, "Tag", number(s.dayBrightness));
  field(out, "Nacht", number(s.nightBrightness));
  return out;
}

std::string stopwatchText(const StopwatchSettings& s) {
  std::string out(kStopwatchCaption);
  out += "\n";
  field(out, "Tag", number(s.dayBrightness));
  field(out, "Nacht", number(s.nightBrightness));
  field(out, "Verhalten", number(s.behaviour));
  field(out, "Radumfang", s.circumference ? number(*s.circumference) : "");
  for (const std::string& t : s.lastTimes) field(out, "letzte Zeiten", t);
  return out;
}

std::string rallyTimerText(const RallyTimerSettings& s) {
  std::string out(kRallyCaption);
  out += "\n";
  field(out, "Tag", number(s.dayBrightness));
  field(out, "Nacht", number(s.nightBrightness));
  field(out, "Signal vor Null", number(s.signalBeforeZero));
  for (const RallyLapTime& t : s.targets) {
    field(out, "Rundenzeit", number(t.number) + " " + number(t.tenths));
  }
  for (const std::string& r : s.recorded) field(out, "Rundendauer", r);
  return out;
}

int32_t parseOilDisplayText(std::string_view text, OilDisplaySettings& s) {
  OilDisplaySettings n = s;
  const int32_t e = parseFields(
      text, kOilCaption,
      {{"Tag", numberInto(n.dayBrightness)}, {"Nacht", numberInto(n.nightBrightness)}}, {});
  if (e == 0) s = n;
  return e;
}

int32_t parseStopwatchText(std::string_view text, StopwatchSettings& s) {
  StopwatchSettings n = s;
  int32_t behaviour = n.behaviour;
  const Setter circumference = [&n](std::string_view value) {
    if (value.find_first_not_of(" ") == std::string_view::npos) {
      n.circumference.reset();
      return true;
    }
    const std::optional<int32_t> v = shell::parseFieldNumber(value);
    if (v) n.circumference = *v;
    return v.has_value();
  };
  const int32_t e = parseFields(text, kStopwatchCaption,
                                {{"Tag", numberInto(n.dayBrightness)},
                                 {"Nacht", numberInto(n.nightBrightness)},
                                 {"Verhalten", numberInto(behaviour)},
                                 {"Radumfang", circumference}},
                                {{"letzte Zeiten", true}});
  if (e != 0) return e;
  if (behaviour < 0 || behaviour > 255) return texts::kTextFileError;
  n.behaviour = static_cast<uint8_t>(behaviour);
  s = n;
  return 0;
}

int32_t parseRallyTimerText(std::string_view text, RallyTimerSettings& s) {
  RallyTimerSettings n = s;
  n.targets.clear();
  const Setter target = [&n](std::string_view value) {
    const size_t blank = value.find(' ');
    if (blank == std::string_view::npos) return false;
    const std::optional<int32_t> number = shell::parseFieldNumber(value.substr(0, blank));
    const std::optional<int32_t> tenths = shell::parseFieldNumber(value.substr(blank + 1));
    return number && tenths && addRallyTarget(n.targets, {*number, *tenths});
  };
  const int32_t e = parseFields(text, kRallyCaption,
                                {{"Tag", numberInto(n.dayBrightness)},
                                 {"Nacht", numberInto(n.nightBrightness)},
                                 {"Signal vor Null", numberInto(n.signalBeforeZero)},
                                 {"Rundenzeit", target}},
                                {{"Rundendauer", true}});
  if (e == 0) s = n;
  return e;
}

}  // namespace displays
