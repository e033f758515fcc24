#pragma once

#include <memory>
#include <string>
#include <vector>

#include "firmware/firmware_file.h"
#include "firmware_file_builder.h"
#include "tests/support/temp_folder.h"

namespace firmware_test {

// A file of the given bytes in a fresh folder, and the image it loads into.
struct Loaded {
  test_files::TempFolder folder;
  std::string path = folder / "file.blf";
  std::unique_ptr<buslink::BootImage> image = std::make_unique<buslink::BootImage>();
  int32_t status = -1;

  explicit Loaded(const std::string& bytes, firmware::BootPort* port = nullptr) {
    test_files::writeFile(path, bytes);
    status = firmware::loadFirmwareFile(*image, path, port);
  }
};

inline std::string joined(const std::vector<Section>& sections) {
  std::string s;
  for (const Section& f : sections) s += section(f);
  return s;
}

// A port that takes what it is told and remembers it.
struct FakePort : firmware::BootPort {
  int32_t refuse = 0;
  std::vector<int32_t> rates;
  int discards = 0;
  int32_t setBaudRate(int32_t rate) override {
    rates.push_back(rate);
    return refuse;
  }
  void discardInput() override { ++discards; }
};

}  // namespace firmware_test
