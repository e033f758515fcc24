#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace sim {

// One line of the bus's record: a frame the PC sent with the adapter's echo
// and the module's reply, or bytes that formed no frame.
struct TranscriptEntry {
  enum class Kind {
    kFrame,      // a valid frame from the PC
    kDiscarded,  // a byte the modules dropped to get back into step
    kLineByte,   // a byte at a rate the modules do not listen at (the wake pulse)
  };
  Kind kind = Kind::kFrame;
  int number = 0;  // frame number, from 1 (frames only)
  int baudRate = 0;
  int64_t firstByteUs = 0;  // the PC's first byte reached the bus
  int64_t lastByteUs = 0;   // ... and its last one
  std::vector<uint8_t> pc;
  std::vector<uint8_t> echo;
  std::vector<uint8_t> reply;  // what the modules sent back (after faults), maybe nothing
};

std::string hexBytes(const std::vector<uint8_t>& bytes);
// One text line, without line end.
std::string formatEntry(const TranscriptEntry& entry);
void writeTranscript(std::ostream& out, const std::vector<TranscriptEntry>& entries);

}  // namespace sim
