#include "sim/transcript.h"

#include <cstdio>

namespace sim {

std::string hexBytes(const std::vector<uint8_t>& bytes) {
  std::string s;
  char buf[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02X", bytes[i]);
    if (i) s += ' ';
    s += buf;
  }
  return s.empty() ? "-" : s;
}

std::string formatEntry(const TranscriptEntry& e) {
  char head[80];
  switch (e.kind) {
    case TranscriptEntry::Kind::kFrame:
      std::snprintf(head, sizeof head, "%12lld us  frame %d", static_cast<long long>(e.lastByteUs),
                    e.number);
      break;
    case TranscriptEntry::Kind::kDiscarded:
      std::snprintf(head, sizeof head, "%12lld us  discarded",
                    static_cast<long long>(e.lastByteUs));
      break;
    case TranscriptEntry::Kind::kLineByte:
      std::snprintf(head, sizeof head, "%12lld us  at %d baud",
                    static_cast<long long>(e.lastByteUs), e.baudRate);
      break;
  }
  return std::string(head) + "  pc " + hexBytes(e.pc) + "  echo " + hexBytes(e.echo) + "  reply " +
         hexBytes(e.reply);
}

void writeTranscript(std::ostream& out, const std::vector<TranscriptEntry>& entries) {
  for (const TranscriptEntry& e : entries) out << formatEntry(e) << '\n';
}

}  // namespace sim
