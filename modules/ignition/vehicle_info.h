#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/module_link.h"
#include "modules/ignition/ignition_record.h"

namespace ignition {

namespace info {
constexpr uint8_t kSelectCode = 3;
constexpr uint8_t kSelectValue = 120;
constexpr uint8_t kLeaveCode = 1;
constexpr uint8_t kCommitCode = 4;
// Addresses 0-254; 255 has no cell.
constexpr int kAreaSize = 255;
constexpr int kCommitPage = 64;
constexpr size_t kShortTextBytes = 24;
constexpr size_t kCommentBytes = 255;
}  // namespace info

// The four texts from the area's bytes: split at their 0 bytes, cp1252 to
// UTF-8; a text that reaches the end of the bytes ends there.
void splitVehicleInfo(const std::vector<uint8_t>& bytes, IgnitionRecord& record);

// What the write puts at addresses 0, 1, ...: each text in cp1252 with its
// ending 0, the three short ones at most 24 characters, the comment at most
// 255. A comment byte that would land on address 255 becomes 0 and ends the
// comment there, in the record as well.
std::vector<uint8_t> vehicleInfoBytes(IgnitionRecord& record);

// Reads the area into the record's four texts. 0 or the error of selecting
// or leaving the area; a byte that cannot be read counts as a text end.
int32_t readVehicleInfo(buslink::ModuleLink& link, IgnitionRecord& record);

// Writes the four texts, committing every 64-byte page. 0 or the error of
// selecting, committing or leaving the area; a byte the module does not
// confirm is not retried.
int32_t writeVehicleInfo(buslink::ModuleLink& link, IgnitionRecord& record);

// The four texts as dialog 163 edits them; the comment's lines end in LF.
struct VehicleInfoForm {
  std::string maker;    // "Hersteller"
  std::string model;    // "Typ"
  std::string variant;  // "Ausführung"
  std::string comment;  // "Kommentar"
};
constexpr size_t kVehicleInfoTypedChars = 25;
constexpr size_t kVehicleInfoCommentChars = 256;

// What the dialog shows: the comment as far as it fits the edit's buffer
// with CR LF line ends.
VehicleInfoForm vehicleInfoForm(const IgnitionRecord& record);
// "OK": the short texts at most 24 characters each; the comment gets the
// room the module's area leaves beside them, counted with CR LF line ends.
void takeVehicleInfo(IgnitionRecord& record, const VehicleInfoForm& form);

}  // namespace ignition
