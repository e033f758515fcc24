// tunvexa-cli firmware info on files written from the file layout.
#include <gtest/gtest.h>

#include "../firmware/firmware_file_builder.h"
#include "process_support.h"

using namespace e2e;
using namespace firmware_test;

namespace {

Section typed(uint16_t type, uint16_t baudRate, size_t chunkCount, uint8_t major) {
  Section s;
  s.typeId = type;
  s.baudRate = baudRate;
  s.version[0] = major;
  s.records = {chunks(0x0800, chunkCount)};
  return s;
}

Result info(const TempConfig& config, const std::string& bytes) {
  const std::string path = config.folder() + "/file.blf";
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  return run(binary("tunvexa-cli") + " firmware info " + path + " 2>&1");
}

TEST(FirmwareCliEndToEnd, DescribesEverySection) {
  TempConfig config;
  Result r = info(config, section(typed(0x0801, 9600, 1, 7)) + section(typed(0x0802, 19200, 2, 8)));
  EXPECT_EQ(r.status, 0);
  // 40 header bytes and a record of 8 bytes and 16 per chunk.
  EXPECT_EQ(r.out,
            "format 0x0200\n"
            "family 0xE0\n"
            "image kind 2\n"
            "section 0: type 0x0801 version 7.4.1 baud 9600 length 64 checksum ok\n"
            "section 1: type 0x0802 version 8.4.1 baud 19200 length 80 checksum ok\n");

  Section older;
  older.format = 0x0101;
  older.deviceId = 0xAD85;
  r = info(config, section(older));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "format 0x0101\nfamily 0xC0\nimage kind 1\n"
            "section 0: type - version - baud 9600 length 72 checksum ok\n");
}

TEST(FirmwareCliEndToEnd, FailuresEndWithTheirText) {
  TempConfig config;
  Section bad = typed(0x0802, 4800, 1, 8);
  bad.checksumRight = false;
  Result r = info(config, section(typed(0x0801, 9600, 1, 8)) + section(bad));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out,
            "format 0x0200\nfamily 0xE0\nimage kind 2\n"
            "section 0: type 0x0801 version 8.4.1 baud 9600 length 64 checksum ok\n"
            "section 1: type 0x0802 version 8.4.1 baud 4800 length 64 checksum wrong\n"
            "Checksumme in der Datei fehlerhaft.\n");

  r = info(config, std::string("\x03\x00", 2) + std::string(40, '\0'));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "falsche Datei-Version\n");

  r = run(binary("tunvexa-cli") + " firmware info " + config.folder() + "/none.blf 2>&1");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "Kann Datei nicht öffnen\n");

  EXPECT_EQ(run(binary("tunvexa-cli") + " firmware info 2>&1").status, 2);
  EXPECT_EQ(run(binary("tunvexa-cli") + " firmware show x 2>&1").status, 2);
}

}  // namespace
