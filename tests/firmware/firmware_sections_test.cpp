// Files with a section per module type: the index, the baud list, the
// choice of a section and the chains that must not be followed blindly.
#include <gtest/gtest.h>

#include "firmware_test_support.h"
#include "texts/firmware_text_ids.h"

using namespace firmware_test;

namespace {

Section typed(uint16_t type, uint16_t baudRate, uint8_t chunkCount = 1) {
  Section s;
  s.typeId = type;
  s.baudRate = baudRate;
  s.version[0] = static_cast<uint8_t>(type & 0x0F);
  s.records = {chunks(0x0800, chunkCount, static_cast<uint8_t>(type))};
  return s;
}

TEST(FirmwareSections, IndexAndBaudList) {
  const std::vector<Section> sections = {typed(0x0801, 9600, 1), typed(0x0802, 19200, 2),
                                         typed(0x0803, 9600, 3)};
  Loaded f(joined(sections));
  ASSERT_EQ(f.status, 0);
  EXPECT_EQ(firmware::imageKind(*f.image), 2);
  EXPECT_EQ(f.image->family, 0xE0);
  EXPECT_EQ(firmware::sectionCount(*f.image), 3);
  // Each section: 40 header bytes and one record of 8 + 16 per chunk.
  const int64_t offsets[] = {0, 64, 64 + 80, -1};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(f.image->sectionOffsets[i], offsets[i]) << i;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(f.image->sectionTypes[i], 0x0801 + i);
    EXPECT_EQ(f.image->sectionVersions[i], uint32_t(i + 1) << 24 | 4 << 16 | 1 << 8);
  }
  EXPECT_EQ(f.image->baudRates[0], 9600);
  EXPECT_EQ(f.image->baudRates[1], 19200);
  EXPECT_EQ(f.image->baudRates[2], 0);
  EXPECT_EQ(f.image->progressSteps, 0) << "no section is loaded before the type is known";
}

TEST(FirmwareSections, SelectsTheSectionOfTheType) {
  const std::vector<Section> sections = {typed(0x0801, 9600, 1), typed(0x0802, 19200, 2),
                                         typed(0x0803, 4800, 3)};
  Loaded f(joined(sections));
  ASSERT_EQ(f.status, 0);
  FakePort port;
  ASSERT_EQ(firmware::selectSectionForType(*f.image, 0x0803, &port), 0);
  const std::string third = section(sections[2]);
  EXPECT_EQ(std::string(f.image->bytes.begin(), f.image->bytes.begin() + third.size()), third);
  EXPECT_EQ(f.image->sectionLength, third.size());
  EXPECT_EQ(f.image->selectedType, 0x0803);
  EXPECT_EQ(firmware::fileVersion(*f.image), 0x00030401u);
  EXPECT_EQ(port.rates, std::vector<int32_t>{4800});

  EXPECT_EQ(firmware::selectSectionForType(*f.image, 0x0802, &port), 0);
  EXPECT_EQ(port.rates.back(), 19200);
  EXPECT_EQ(firmware::selectSectionForType(*f.image, 0x0804, &port),
            texts::kTextNoFirmwareForModule);
  EXPECT_EQ(f.image->selectedType, 0x0804);
}

TEST(FirmwareSections, FirstSectionOfATypeWins) {
  Section a = typed(0x0801, 9600);
  Section b = typed(0x0801, 19200);
  Loaded f(joined({typed(0x0800, 9600), a, b}));
  ASSERT_EQ(f.status, 0);
  FakePort port;
  EXPECT_EQ(firmware::selectSectionForType(*f.image, 0x0801, &port), 0);
  EXPECT_EQ(port.rates, std::vector<int32_t>{9600});
}

TEST(FirmwareSections, SeveralFamiliesAreToldAndStillIndexed) {
  Section other = typed(0x0802, 9600);
  other.family = 0xC0;
  Loaded f(joined({typed(0x0801, 9600), other, typed(0x0803, 9600)}));
  EXPECT_EQ(f.status, texts::kTextSeveralFamilies);
  EXPECT_EQ(firmware::sectionCount(*f.image), 3);
}

// A bad section in the chain is told once the chain reaches it, or, when it
// is only its contents, once it is chosen.
TEST(FirmwareSections, BrokenChains) {
  Section zero = typed(0x0802, 9600);
  zero.lengthField = 0;
  Section tiny = typed(0x0802, 9600);
  tiny.lengthField = 8;
  Section firstZero = typed(0x0801, 9600);
  firstZero.lengthField = 0;
  Section longer = typed(0x0802, 9600);
  longer.lengthField = 4000;
  Section badSum = typed(0x0802, 9600);
  badSum.checksumRight = false;
  Section oddRecord = typed(0x0802, 9600);
  oddRecord.records = {Record{0x100, std::vector<uint8_t>(24, 1), {}}};

  struct Case {
    const char* name;
    std::string bytes;
    int32_t load;
    int sections;
    int32_t select;  // of type 0x0802
  };
  const std::vector<Case> cases = {
      {"second section of length 0", joined({typed(0x0801, 9600), zero, typed(0x0803, 9600)}),
       texts::kTextFileHeaderError, 2, texts::kTextFileHeaderError},
      {"second section shorter than a header", joined({typed(0x0801, 9600), tiny}),
       texts::kTextFileHeaderError, 2, texts::kTextFileHeaderError},
      {"first section of length 0", joined({firstZero, typed(0x0802, 9600)}),
       texts::kTextFileHeaderError, 1, texts::kTextNoFirmwareForModule},
      {"last section beyond the file", joined({typed(0x0801, 9600), longer}), 0, 2,
       texts::kTextFileHeaderError},
      {"checksum of the second", joined({typed(0x0801, 9600), badSum}), 0, 2,
       texts::kTextFileChecksumWrong},
      {"record of 24 bytes", joined({typed(0x0801, 9600), oddRecord}), 0, 2,
       texts::kTextFileHeaderError},
      {"a few bytes after the last section",
       joined({typed(0x0801, 9600), typed(0x0802, 9600)}) + std::string(10, '\x01'), 0, 2, 0},
  };
  for (const Case& c : cases) {
    Loaded f(c.bytes);
    EXPECT_EQ(f.status, c.load) << c.name;
    EXPECT_EQ(firmware::sectionCount(*f.image), c.sections) << c.name;
    EXPECT_EQ(firmware::selectSectionForType(*f.image, 0x0802), c.select) << c.name;
  }
}

TEST(FirmwareSections, AtMostFiftySections) {
  std::vector<Section> sections;
  for (uint16_t i = 0; i < 52; ++i) sections.push_back(typed(0x0900 + i, 9600));
  Loaded f(joined(sections));
  ASSERT_EQ(f.status, 0);
  EXPECT_EQ(firmware::sectionCount(*f.image), 50);
  EXPECT_EQ(f.image->sectionOffsets[50], -1);
  EXPECT_EQ(firmware::selectSectionForType(*f.image, 0x0900 + 49), 0);
  EXPECT_EQ(f.image->sectionLength, 64u);
  EXPECT_EQ(firmware::selectSectionForType(*f.image, 0x0900 + 50), texts::kTextNoFirmwareForModule);
}

TEST(FirmwareSections, SectionThatCannotBeReached) {
  Loaded f(joined({typed(0x0801, 9600), typed(0x0802, 9600)}));
  ASSERT_EQ(f.status, 0);
  for (int i : {-1, 2, 49, 50, 1000}) {
    EXPECT_EQ(firmware::loadSection(*f.image, i), texts::kTextFirmwareFileLength) << i;
  }
  ASSERT_EQ(firmware::loadSection(*f.image, 1), 0);
  std::filesystem::remove(f.path);
  EXPECT_EQ(firmware::loadSection(*f.image, 1), texts::kTextFirmwareFileLength);
  EXPECT_EQ(f.image->progressSteps, 0) << "a failed load leaves nothing to program";
}

// Records from offset 42: the section is 66 bytes long, and its last group
// of four (offsets 64-67) takes two bytes from behind the section.
Section oddLength(uint16_t type) {
  Section s = typed(type, 9600);
  s.dataOffset = 42;
  return s;
}

TEST(FirmwareSections, LastChecksumGroupReachesPastTheSection) {
  // Into the next section: its format word 0x0200 counts in bytes 6 and 7.
  std::string bytes = section(oddLength(0x0801)) + section(typed(0x0802, 9600));
  put32(bytes, 4, checksumOf(bytes, 66));
  Loaded f(bytes);
  ASSERT_EQ(f.status, 0);
  EXPECT_EQ(firmware::selectSectionForType(*f.image, 0x0801), 0);
  EXPECT_EQ(f.image->sectionLength, 66u);
  put32(bytes, 4, checksumOf(bytes.substr(0, 66), 66));
  EXPECT_EQ(Loaded(bytes).image->sectionOffsets[1], 66);
  Loaded without(bytes);
  EXPECT_EQ(firmware::selectSectionForType(*without.image, 0x0801), texts::kTextFileChecksumWrong);

  // Past the end of the file the bytes count as zero, whatever an earlier
  // load left in the image.
  Section last = oddLength(0x0801);
  last.family = 0;
  Loaded g(std::string(200, '\x7F'));
  ASSERT_EQ(g.status, texts::kTextWrongFileVersion);
  test_files::writeFile(g.path, section(last));
  EXPECT_EQ(firmware::loadFirmwareFile(*g.image, g.path), 0);
}

// The first read takes only 131072 bytes; sections behind them are found
// in the file itself.
TEST(FirmwareSections, SectionsBehindTheFirstRead) {
  const size_t fullChunks = (131072 - 40 - 8) / 16;
  Section big1 = typed(0x0801, 9600);
  big1.records = {chunks(0, fullChunks)};
  Section big2 = typed(0x0802, 19200);
  big2.records = {chunks(0, fullChunks)};
  Section small = typed(0x0803, 4800, 2);
  Loaded f(joined({big1, big2, small}));
  ASSERT_EQ(f.status, 0);
  EXPECT_EQ(f.image->sectionOffsets[2], 2 * 131072);
  ASSERT_EQ(firmware::selectSectionForType(*f.image, 0x0803), 0);
  const std::string third = section(small);
  EXPECT_EQ(std::string(f.image->bytes.begin(), f.image->bytes.begin() + third.size()), third);
  EXPECT_EQ(firmware::selectSectionForType(*f.image, 0x0802), 0);
  EXPECT_EQ(f.image->sectionLength, 131072u);
}

}  // namespace
