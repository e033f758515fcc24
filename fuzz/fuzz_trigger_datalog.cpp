// A DataLog file as a disk may hold it, opened the two ways the trigger
// viewer opens one: record by record, and as "Daten laden". Reading must end,
// stay inside the file and never ask for more memory than the file has; a
// loaded recording stays inside the ring, and saving it and loading it again
// gives the same recording and module values.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "viewers/trigger/datalog.h"
#include "viewers/trigger/trigger_analysis.h"
#include "viewers/trigger/trigger_data_file.h"

using fuzz_support::inFolder;

namespace {

class QuietMessages : public viewers::ViewerMessages {
 public:
  void show(const std::string& text, viewers::MessageIcon) override { shown.push_back(text); }
  bool askYesNo(const std::string&) override { return false; }
  std::vector<std::string> shown;
};

bool sameValues(const trigger::ModuleValues& a, const trigger::ModuleValues& b) {
  return a.ModSerienNr == b.ModSerienNr && a.ModVersion == b.ModVersion && a.ModTyp == b.ModTyp &&
         a.ModTypNr == b.ModTypNr && a.ModZylinder == b.ModZylinder && a.ModTakte == b.ModTakte &&
         a.ModKwZaehne == b.ModKwZaehne && a.ModKwLuecke == b.ModKwLuecke &&
         a.ModZylinder1 == b.ModZylinder1 && a.ModLeertakt == b.ModLeertakt &&
         a.ModKwGeber == b.ModKwGeber;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::isolateUserFolders();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = inFolder("in.dat");
  fuzz_support::writeFile(path, fuzz_support::asText(data, size));

  QuietMessages messages;
  {
    trigger::DataLog log(messages);
    if (log.open(path, "", "", false)) {
      trigger::DataLogRecord r;
      size_t records = 0;
      while (log.readNext(r) == trigger::ReadResult::kRecord) {
        // Every record takes at least its tag and id from the file.
        FUZZ_CHECK(++records <= size / 8 + 1);
        FUZZ_CHECK(r.bytes.size() <= size && r.integers.size() <= size && r.reals.size() <= size);
      }
    }
  }

  fuzz_support::writeFile(path, fuzz_support::asText(data, size));
  trigger::Recording rec;
  trigger::ModuleValues values;
  if (!trigger::loadTriggerData(path, rec, values, messages)) return 0;
  FUZZ_CHECK(rec.DataCount >= 0 && rec.DataCount <= trigger::kRingSize);
  FUZZ_CHECK(rec.DataWrIdx >= 0 && rec.DataWrIdx <= trigger::kLastSlot);
  for (size_t i = 0; i < rec.channelA.size(); ++i) {
    FUZZ_CHECK(rec.channelA[i] <= 1 && rec.channelB[i] <= 1);
  }
  trigger::analyse(rec);

  fuzz_support::freshFolder(inFolder("out"));
  FUZZ_CHECK(trigger::saveTriggerData(inFolder("out/again.dat"), rec, values, messages));
  trigger::Recording back;
  trigger::ModuleValues backValues;
  FUZZ_CHECK(trigger::loadTriggerData(inFolder("out/again.dat"), back, backValues, messages));
  // A full ring is stored from its oldest sample on.
  const trigger::StoredOrder first = trigger::storedOrder(rec);
  const trigger::StoredOrder second = trigger::storedOrder(back);
  FUZZ_CHECK(first.channelA == second.channelA && first.channelB == second.channelB);
  FUZZ_CHECK(back.DataCount == rec.DataCount);
  FUZZ_CHECK(sameValues(values, backValues), values.ModSerienNr + " / " + backValues.ModSerienNr);
  return 0;
}
