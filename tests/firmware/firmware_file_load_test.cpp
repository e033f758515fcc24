// Loading a firmware file: the formats, the family and image kind, and the
// files that must be refused with their text.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "firmware_test_support.h"
#include "texts/firmware_text_ids.h"
#include "texts/text_ids.h"

using namespace firmware_test;

namespace {

Section single(uint16_t format, uint16_t deviceId) {
  Section s;
  s.format = format;
  s.deviceId = deviceId;
  return s;
}

Section withRecords(std::vector<Record> records) {
  Section s;
  s.family = 0;
  s.records = std::move(records);
  return s;
}

Record lengthOnly(uint32_t address, size_t dataBytes, uint32_t lengthField) {
  Record r{address, std::vector<uint8_t>(dataBytes, 0xAB), lengthField};
  return r;
}

struct LoadCase {
  const char* name;
  std::string bytes;
  int32_t status;
  uint8_t family;
  int kind;
};

TEST(FirmwareFileLoad, FormatsFamiliesAndRefusals) {
  Section multiZero;
  multiZero.family = 0;
  Section badOffset = single(0x0100, 0xAD07);
  badOffset.dataOffset = 40;
  Section rate = multiZero;
  rate.baudRate = 1200;
  Section longer = multiZero;
  longer.lengthField = static_cast<uint32_t>(section(multiZero).size() + 1);
  Section zeroLength = multiZero;
  zeroLength.lengthField = 0;
  Section zeroLengthSingle = single(0x0101, 0xAD07);
  zeroLengthSingle.lengthField = 0;
  Section checksum = single(0x0100, 0xAD07);
  checksum.checksumRight = false;
  Section shortTail = multiZero;
  shortTail.tail = {1, 2, 3, 4};
  // Bytes 2-3 lie before the checksummed bytes, so the checksum still holds.
  std::string offsetPastEnd = section(multiZero);
  put16(offsetPastEnd, 2, static_cast<uint32_t>(offsetPastEnd.size() + 16));
  std::string offsetInHeader = section(multiZero);
  put16(offsetInHeader, 2, 32);

  const std::vector<LoadCase> cases = {
      {"0x0100 of an ignition", section(single(0x0100, 0xAD07)), 0, 0xE0, 1},
      {"0x0101 of device 0xAD85", section(single(0x0101, 0xAD85)), 0, 0xC0, 1},
      {"0x0100 of another device", section(single(0x0100, 0x1234)), 0, 0, 0},
      {"0x0200 without family", section(multiZero), 0, 0, 0},
      {"header offset 40 in 0x0100", section(badOffset), texts::kTextFileHeaderError, 0, 0},
      {"format 0x0300", section(single(0x0300, 0xAD07)), texts::kTextWrongFileVersion, 0, 0},
      {"format 0x0000", std::string(64, '\0'), texts::kTextWrongFileVersion, 0, 0},
      {"empty file", "", texts::kTextWrongFileVersion, 0, 0},
      {"baud rate 1200", section(rate), texts::kTextInvalidBaudRate, 0, 0},
      {"length beyond the file", section(longer), texts::kTextFileHeaderError, 0, 0},
      {"length 0, 0x0200", section(zeroLength), texts::kTextFileHeaderError, 0, 0},
      {"length 0, 0x0101", section(zeroLengthSingle), texts::kTextFileHeaderError, 0xE0, 1},
      {"checksum", section(checksum), texts::kTextFileChecksumWrong, 0xE0, 1},
      {"record of 20 bytes", section(withRecords({lengthOnly(0x1000, 20, 20)})),
       texts::kTextFileHeaderError, 0, 0},
      {"record past the section", section(withRecords({lengthOnly(0x1000, 32, 48)})),
       texts::kTextFileHeaderError, 0, 0},
      {"record length near 2^32", section(withRecords({lengthOnly(0x1000, 32, 0xFFFFFFF0)})),
       texts::kTextFileHeaderError, 0, 0},
      {"bytes after the last record", section(shortTail), texts::kTextFileHeaderError, 0, 0},
      {"records start past the end", offsetPastEnd, texts::kTextFileHeaderError, 0, 0},
      {"records start in the header", offsetInHeader, texts::kTextFileHeaderError, 0, 0},
      {"a header cut short", section(multiZero).substr(0, 20), texts::kTextFileHeaderError, 0, 0},
  };
  for (const LoadCase& c : cases) {
    Loaded f(c.bytes);
    EXPECT_EQ(f.status, c.status) << c.name;
    EXPECT_EQ(f.image->family, c.family) << c.name;
    EXPECT_EQ(firmware::imageKind(*f.image), c.kind) << c.name;
    EXPECT_EQ(f.image->filePath, f.path) << c.name;
  }
}

// Only a plain file is read: a FIFO would block the load until someone
// writes to it.
TEST(FirmwareFileLoad, WhatIsNoPlainFileCannotBeOpened) {
  test_files::TempFolder folder;
  ASSERT_EQ(::mkfifo((folder / "pipe.blf").c_str(), 0600), 0);
  std::filesystem::create_directory(folder / "folder.blf");
  for (const char* name : {"none.blf", "pipe.blf", "folder.blf"}) {
    buslink::BootImage image;
    EXPECT_EQ(firmware::loadFirmwareFile(image, folder / name), texts::kTextCannotOpenFile) << name;
  }
}

TEST(FirmwareFileLoad, LoadedSectionFillsTheImage) {
  Section s;
  s.family = 0;
  s.version[0] = 9;
  s.version[1] = 12;
  s.version[2] = 3;
  s.typeId = 0x0805;
  s.records = {chunks(0x2000, 3), chunks(0x4000, 1)};
  const std::string bytes = section(s);
  FakePort port;
  Loaded f(bytes, &port);
  ASSERT_EQ(f.status, 0);
  // 40 header bytes, records of 8 + 48 and 8 + 16 bytes.
  EXPECT_EQ(f.image->sectionLength, 120u);
  EXPECT_EQ(f.image->progressSteps, (120 - 32) / 16);
  EXPECT_EQ(firmware::fileVersion(*f.image), 0x00090C03u);
  EXPECT_EQ(f.image->sectionTypes[0], 0x0805);
  EXPECT_EQ(f.image->sectionVersions[0], 0x090C0300u);
  EXPECT_EQ(f.image->sectionOffsets[1], -1);
  EXPECT_EQ(f.image->baudRates[0], 9600);
  EXPECT_EQ(f.image->baudRates[1], 0);
  EXPECT_EQ(std::string(f.image->bytes.begin(), f.image->bytes.begin() + 120), bytes);
  EXPECT_EQ(port.rates, std::vector<int32_t>{9600});
  EXPECT_EQ(port.discards, 1);

  // The older formats carry no version.
  Loaded older(section(single(0x0100, 0xAD07)));
  ASSERT_EQ(older.status, 0);
  EXPECT_EQ(firmware::fileVersion(*older.image), 0u);
}

TEST(FirmwareFileLoad, PortThatRefusesTheRate) {
  Section s;
  s.family = 0;
  s.baudRate = 19200;
  FakePort port;
  port.refuse = 1;
  Loaded f(section(s), &port);
  EXPECT_EQ(f.status, texts::kTextInvalidBaudRate);
  EXPECT_EQ(port.rates, std::vector<int32_t>{19200});
  EXPECT_EQ(port.discards, 0);
}

// Byte j of the checksum covers the bytes at 8 + 4k + j: one data byte at
// 8 + 4k + 2 moves byte 6 and nothing else. The record's data start at
// 32 + 8, so k = 8 is the first group inside them.
TEST(FirmwareFileLoad, ChangedByteIsCaughtByItsChecksumByte) {
  Section s = single(0x0100, 0xAD07);
  const std::string good = section(s);
  for (size_t k : {size_t{8}, size_t{11}, (good.size() - 8) / 4 - 1}) {
    std::string bad = good;
    const size_t at = 8 + 4 * k + 2;
    ASSERT_LT(at, good.size());
    bad[at] = static_cast<char>(bad[at] + 0x21);
    EXPECT_EQ(Loaded(bad).status, texts::kTextFileChecksumWrong) << "k " << k;
    bad[6] = static_cast<char>(bad[6] + 0x21);
    EXPECT_EQ(Loaded(bad).status, 0) << "byte 6 alone makes up for it, k " << k;
  }
}

// Only the first 131072 bytes of a section are loaded: a section of exactly
// that size loads, one chunk more is longer than what was read.
TEST(FirmwareFileLoad, LargestSection) {
  Section s;
  s.family = 0;
  s.records = {chunks(0, (131072 - 40 - 8) / 16)};
  const std::string largest = section(s);
  ASSERT_EQ(largest.size(), 131072u);
  Loaded f(largest);
  EXPECT_EQ(f.status, 0);
  EXPECT_EQ(f.image->sectionLength, 131072u);
  EXPECT_EQ(f.image->progressSteps, (131072 - 32) / 16);

  s.records = {chunks(0, (131072 - 40 - 8) / 16 + 1)};
  EXPECT_EQ(Loaded(section(s)).status, texts::kTextFileHeaderError);
}

}  // namespace
