#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "modules/loggers/conversion.h"
#include "modules/loggers/vehicle_data.h"
#include "shell/user_prompts.h"

// The files around the logs: converting a log file into its output files,
// preparing a card's log file and copying the recorded part to the PC.
namespace loggers {

// The file the loggers fill on their card.
constexpr const char* kLogFileName = "LogDatei.bin";
// Where stream blocks note their times (the program's working folder).
constexpr const char* kSideFileName = "LogDatei.txt";

// Opens the log, the output, the raw copy (the output path ending in ".bin")
// and the side file (appended to), then converts. 8042 when one of them
// cannot be opened (none is left open); otherwise as convertCarLog.
int32_t convertCarLogFile(const std::string& logPath, const std::string& outputPath,
                          const std::string& sideFilePath, const VehicleData& vehicle,
                          ConversionOptions options, ConversionCounts* counts = nullptr);

// The lambda display's log: 8042 when the log cannot be opened, 8006 when no
// block is in use; then the output, the dump ("-Dump.bin" in place of the
// output's last 4 characters) and the side file (opened to append, nothing
// is written to it) must open (else 8042); then convertLambdaLog.
int32_t convertLambdaLogFile(const std::string& logPath, const std::string& outputPath,
                             const std::string& sideFilePath, ConversionOptions options,
                             ConversionCounts* counts = nullptr);

// Writes `bytes` bytes of 0xFF to `path` in pieces of `piece` bytes,
// stepping `prompts` (when set) once every `piecesPerStep` pieces. 0; 8042
// when the file cannot be created; 8008 when a write fails (the cut file is
// removed, so no card is left with a log file of the wrong size).
int32_t writeErasedFile(const std::string& path, uint64_t bytes, size_t piece, int piecesPerStep,
                        shell::UserPrompts* prompts);

// The car logger's card file: hours x 148 blocks of 1024 bytes.
constexpr uint64_t carLogFileBytes(int32_t hours) {
  return static_cast<uint64_t>(hours) * 148 * 1024;
}
// Recording hours the page accepts, and the file's kByte for them.
constexpr int32_t kMinHours = 1;
constexpr int32_t kMaxHours = 1000;
constexpr int32_t carLogKiloBytes(int32_t hours) {
  return hours * 148;
}

// "LogDatei.bin" in `folder`, for `hours` hours; a wait window (8319) with
// one step per MByte when the file is large. 0, 8045 for hours outside
// 1-1000, else as writeErasedFile.
int32_t createCarLogFile(const std::string& folder, int32_t hours, shell::UserPrompts& prompts);

// The serial logger's card file: `megabytes` x 16 pieces of 65536 bytes,
// the wait window (8319) stepped every 16 pieces. 0, 8045 outside 1-999,
// else as writeErasedFile.
int32_t createSerialLogFile(const std::string& folder, int32_t megabytes,
                            shell::UserPrompts& prompts);

// Copies the recorded part of a card's log file to the PC. `chooseCopyPath`
// is asked for the copy's path once the recorded size is known (false:
// cancelled, 8000). Then asks 8017 "Original Logdatei löschen" and, on yes,
// erases the recorded part of the original with 0xFF. 0 on success, 8042,
// 8006, 8007, 8008 as their texts say.
int32_t copyRecordedLog(const std::string& logPath,
                        const std::function<bool(std::string& copyPath)>& chooseCopyPath,
                        shell::UserPrompts& prompts);

}  // namespace loggers
