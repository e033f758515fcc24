#include <string>

#include "modules/ignition/vehicle_info.h"
#include "shell/value_fields.h"

namespace ignition {

namespace {

// The first `count` characters of a UTF-8 text.
std::string firstCharacters(const std::string& text, size_t count) {
  size_t at = 0;
  for (size_t n = 0; n < count && at < text.size(); ++n) {
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
  }
  return text.substr(0, at);
}

size_t characters(const std::string& text) {
  size_t n = 0;
  for (unsigned char c : text) n += (c & 0xC0) != 0x80;
  return n;
}

}  // namespace

VehicleInfoForm vehicleInfoForm(const IgnitionRecord& record) {
  VehicleInfoForm form{record.InfoHersteller, record.InfoTyp, record.InfoAusfuehrung,
                       record.InfoKommentar};
  shell::addCarriageReturns(form.comment, kVehicleInfoCommentChars);
  shell::removeCarriageReturns(form.comment);
  return form;
}

void takeVehicleInfo(IgnitionRecord& record, const VehicleInfoForm& form) {
  record.InfoHersteller = firstCharacters(form.maker, info::kShortTextBytes);
  record.InfoTyp = firstCharacters(form.model, info::kShortTextBytes);
  record.InfoAusfuehrung = firstCharacters(form.variant, info::kShortTextBytes);
  const size_t used = characters(record.InfoHersteller) + characters(record.InfoTyp) +
                      characters(record.InfoAusfuehrung);
  std::string comment = form.comment;
  shell::removeCarriageReturns(comment);
  std::string withCr;
  for (char c : comment) {
    if (c == '\n') withCr.push_back('\r');
    withCr.push_back(c);
  }
  withCr = firstCharacters(withCr, info::kCommentBytes > used ? info::kCommentBytes - used : 0);
  shell::removeCarriageReturns(withCr);
  record.InfoKommentar = withCr;
}

}  // namespace ignition
