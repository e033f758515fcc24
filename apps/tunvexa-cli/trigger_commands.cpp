#include "trigger_commands.h"

#include <fstream>
#include <ostream>

#include "cli_commands.h"
#include "viewers/trigger/recording_file.h"
#include "viewers/trigger/trigger_analysis.h"
#include "viewers/trigger/trigger_data_file.h"
#include "viewers/trigger/trigger_texts.h"

namespace cli {

namespace {

class PrintedMessages : public viewers::ViewerMessages {
 public:
  explicit PrintedMessages(std::ostream& out) : out_(out) {}
  void show(const std::string& text, viewers::MessageIcon) override {
    // Lines end in LF on a terminal.
    for (char c : text) {
      if (c != '\r') out_ << c;
    }
    out_ << "\n";
  }
  bool askYesNo(const std::string&) override { return false; }

 private:
  std::ostream& out_;
};

bool loadRecording(const std::string& path, trigger::Recording& rec, std::ostream& out) {
  PrintedMessages messages(out);
  return trigger::loadRecordingFile(path, rec, messages);
}

int32_t analyse(const std::string& path, uint32_t teeth, uint32_t gap, std::ostream& out) {
  trigger::Recording rec;
  if (!loadRecording(path, rec, out)) return 1;
  out << "samples " << rec.DataCount << "\n";
  const trigger::Analysis a = trigger::analyse(rec);
  if (a.status == trigger::AnalysisStatus::kNoData) {
    out << trigger::kTextNoData << "\n";
    return 2;
  }
  if (a.status == trigger::AnalysisStatus::kTooFewData) {
    out << trigger::kTextTooFewData << "\n";
    return 2;
  }
  out << "gaps " << a.gapCount() << "\n";
  const int32_t oldest = rec.DataCount >= trigger::kRingSize ? rec.DataWrIdx : 0;
  for (int i = 1; i <= a.gapCount(); ++i) {
    // Sample positions count from the oldest sample, as the file holds them.
    const int32_t slot = a.revolutionStart(i);
    out << "gap " << i << " at sample " << (slot - oldest + trigger::kRingSize) % trigger::kRingSize
        << "\n";
  }
  // The count before the first gap covers a revolution only partly seen.
  bool match = a.gapCount() >= 2;
  out << "teeth between gaps";
  for (int i = 2; i <= a.gapCount(); ++i) {
    const int n = a.teethBefore(i);
    out << " " << n;
    if (teeth != 0 && n != static_cast<int>(teeth - gap)) match = false;
  }
  out << "\n";
  if (teeth == 0) return match ? 0 : 2;
  out << "wheel " << teeth << "-" << gap << ": " << (match ? "match" : "no match") << "\n";
  return match ? 0 : 2;
}

int32_t exportCsv(const std::string& path, const std::string& target, const std::string& channel,
                  std::ostream& out) {
  trigger::Recording rec;
  if (!loadRecording(path, rec, out)) return 1;
  std::ofstream csv(target, std::ios::binary | std::ios::trunc);
  if (!csv) {
    out << "cannot write " << target << "\n";
    return 1;
  }
  const bool a = channel != "B", b = channel != "A";
  csv << "Index";
  if (a) csv << ";Kanal A";
  if (b) csv << ";Kanal B";
  csv << "\r\n";
  // Oldest sample first, as the viewer shows and stores them.
  int32_t slot = rec.DataCount >= trigger::kRingSize ? rec.DataWrIdx : 0;
  for (int32_t i = 0; i < rec.DataCount; ++i, slot = trigger::nextSlot(slot)) {
    csv << i;
    if (a) csv << ';' << int{rec.channelA[static_cast<size_t>(slot)]};
    if (b) csv << ';' << int{rec.channelB[static_cast<size_t>(slot)]};
    csv << "\r\n";
  }
  out << rec.DataCount << " samples written to " << target << "\n";
  return csv ? 0 : 1;
}

}  // namespace

int32_t runTriggerCommand(const std::vector<std::string>& args, std::ostream& out,
                          std::ostream& err) {
  auto usage = [&](const char* why) {
    err << "tunvexa-cli: " << why << "\n";
    return -1;
  };
  if (args.empty()) return usage("trigger needs analyse or export");
  if (args[0] == "analyse") {
    if (args.size() < 2) return usage("trigger analyse FILE [--teeth N] [--gap N]");
    uint32_t teeth = 0, gap = 0;
    for (size_t i = 2; i < args.size(); i += 2) {
      if (i + 1 >= args.size()) return usage("--teeth and --gap need a number");
      uint32_t& target = args[i] == "--teeth" ? teeth : args[i] == "--gap" ? gap : teeth;
      if ((args[i] != "--teeth" && args[i] != "--gap") || !parseNumber(args[i + 1], 255, target)) {
        return usage("trigger analyse FILE [--teeth N] [--gap N] (N 0-255)");
      }
    }
    if (gap >= teeth && teeth != 0) return usage("--gap must be below --teeth");
    return analyse(args[1], teeth, gap, out);
  }
  if (args[0] == "export") {
    if (args.size() != 3 && args.size() != 5) {
      return usage("trigger export FILE OUT.csv [--channel A|B|both]");
    }
    std::string channel = "both";
    if (args.size() == 5) {
      if (args[3] != "--channel" || (args[4] != "A" && args[4] != "B" && args[4] != "both")) {
        return usage("trigger export FILE OUT.csv [--channel A|B|both]");
      }
      channel = args[4];
    }
    return exportCsv(args[1], args[2], channel, out);
  }
  // Appended piece by piece: "literal" + std::string makes GCC 12 at -O2
  // report a false -Wrestrict.
  std::string why = "unknown trigger command: ";
  why += args[0];
  return usage(why.c_str());
}

}  // namespace cli
