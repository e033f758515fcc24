#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// The layout of a firmware file's section: a header, then program records
// (address, length, data) up to the section's length. Numbers high byte
// first.
namespace firmware {

constexpr uint16_t kFormatSingle = 0x0100;
constexpr uint16_t kFormatSingleB = 0x0101;
constexpr uint16_t kFormatSections = 0x0200;

constexpr size_t kFormatAt = 0;
constexpr size_t kDataOffsetAt = 2;
constexpr size_t kChecksumAt = 4;
constexpr size_t kLengthAt = 8;
constexpr size_t kDeviceIdAt = 14;
constexpr size_t kRunningNumberAt = 24;
constexpr size_t kBaudRateAt = 28;
constexpr size_t kEraseExponentAt = 30;
constexpr size_t kWriteExponentAt = 31;
constexpr size_t kVersionAt = 32;
constexpr size_t kTypeIdAt = 36;
constexpr size_t kFamilyAt = 38;

// The older formats' records always start here.
constexpr uint16_t kSingleDataOffset = 32;
// What the sectioned format's header holds, up to its family byte.
constexpr size_t kSectionsHeaderBytes = kFamilyAt + 1;
constexpr size_t kRecordHeaderBytes = 8;
constexpr size_t kChunkBytes = 16;

bool isSingleFormat(uint16_t format);
// The bytes a section of this format needs for its header.
size_t headerBytes(uint16_t format);

uint16_t be16(std::span<const uint8_t> bytes, size_t at);
uint32_t be32(std::span<const uint8_t> bytes, size_t at);

// Family of the older formats, which carry only the device id.
uint8_t familyOfDeviceId(uint16_t deviceId);

// The four byte sums over the section from offset 8 in groups of four; the
// last group is summed whole, so `bytes` must reach three bytes past
// `length` (the bytes that follow the section in the file, zero past its
// end).
uint32_t sectionChecksum(std::span<const uint8_t> bytes, uint32_t length);

// Whether the records from `dataOffset` fill the section exactly, each with a
// whole number of 16-byte chunks.
bool recordsFit(std::span<const uint8_t> section, uint32_t dataOffset);

}  // namespace firmware
