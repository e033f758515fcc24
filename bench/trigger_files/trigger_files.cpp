// "Daten speichern" and "Daten laden" of a full recording (two channels of
// 60 000 samples and the module values, 120 kB): time per file. Exit status
// 1 when the file read back differs from what was saved.
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/trigger_analysis/wheel_ring.h"
#include "viewers/trigger/trigger_data_file.h"

namespace {

constexpr int kFiles = 50;

class Quiet : public viewers::ViewerMessages {
 public:
  void show(const std::string& text, viewers::MessageIcon) override { last = text; }
  bool askYesNo(const std::string&) override { return false; }
  std::string last;
};

}  // namespace

int main() {
  std::string folder = (std::filesystem::temp_directory_path() / "trigger-files-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) return 1;
  const trigger::Recording rec = bench_support::wheelRing(12345);
  trigger::ModuleValues values;
  values.ModSerienNr = "1234567";
  values.ModKwZaehne = 60;
  Quiet quiet;

  const auto saveStart = std::chrono::steady_clock::now();
  for (int i = 0; i < kFiles; ++i) {
    trigger::saveTriggerData(folder + "/f" + std::to_string(i) + ".dat", rec, values, quiet);
  }
  const auto saveEnd = std::chrono::steady_clock::now();
  trigger::Recording back;
  trigger::ModuleValues backValues;
  int loaded = 0;
  for (int i = 0; i < kFiles; ++i) {
    loaded += trigger::loadTriggerData(folder + "/f" + std::to_string(i) + ".dat", back, backValues,
                                       quiet);
  }
  const auto loadEnd = std::chrono::steady_clock::now();
  const uintmax_t bytes = std::filesystem::file_size(folder + "/f0.dat");
  std::filesystem::remove_all(folder);

  using Ms = std::chrono::duration<double, std::milli>;
  std::printf("trigger data file of %ju bytes, %d files\n", bytes, kFiles);
  std::printf("save: %.3f ms per file\n", Ms(saveEnd - saveStart).count() / kFiles);
  std::printf("load: %.3f ms per file\n", Ms(loadEnd - saveEnd).count() / kFiles);
  const trigger::StoredOrder saved = trigger::storedOrder(rec);
  if (loaded != kFiles || back.DataCount != trigger::kRingSize || back.DataWrIdx != 0 ||
      back.channelA != saved.channelA || back.channelB != saved.channelB ||
      backValues.ModSerienNr != "1234567") {
    std::printf("FAIL: the file read back differs from the recording saved\n");
    return 1;
  }
  return 0;
}
