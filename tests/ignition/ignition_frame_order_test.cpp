// The frames of a whole read and write, in order, written out by hand from
// the documented order of operations. The simulator is ours, so comparing
// memory contents alone could hide a misreading it shares with the code.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ignition_io_support.h"
#include "texts/ignition_text_ids.h"
#include "texts/text_ids.h"

namespace ignition {
namespace {

using test::Bench;
using Frame = std::array<uint8_t, 3>;  // byte 0 (0xE0 | command), parameter 1, parameter 2
using Frames = std::vector<Frame>;

// Frames the PC sent from frame number `from` on (the check byte is the
// link's own business and tested there).
Frames sentFrames(const Bench& b, int from = 1) {
  Frames out;
  for (const sim::TranscriptEntry& e : b.bus.transcript()) {
    if (e.kind == sim::TranscriptEntry::Kind::kFrame && e.number >= from)
      out.push_back({e.pc[0], e.pc[1], e.pc[2]});
  }
  return out;
}

std::string describe(const Frames& frames) {
  std::string s;
  char text[48];
  for (size_t i = 0; i < frames.size(); ++i) {
    std::snprintf(text, sizeof text, "%zu:%02X %02X %02X\n", i + 1, frames[i][0], frames[i][1],
                  frames[i][2]);
    s += text;
  }
  return s;
}

void append(Frames& to, const Frames& more) {
  to.insert(to.end(), more.begin(), more.end());
}

// readByte (0xE2) of each address.
Frames reads(std::initializer_list<uint8_t> addresses) {
  Frames out;
  for (uint8_t a : addresses) out.push_back({0xE2, a, 0});
  return out;
}

// Identification of firmware 0x500 and above: version, type, period, then
// the required PC software.
const Frames kIdentify = {{0xE1, 0, 0}, {0xE0, 0, 0}, {0xE7, 0, 0}, {0xE1, 0, 1}};
// Serial number 0xFC-0xFF, then HKZ voltage, internal limiter start and
// step, operating counter high and low byte.
const Frames kSerialAndFactory = reads({0xFC, 0xFD, 0xFE, 0xFF, 0xF1, 0xE3, 0xE4, 0xF8, 0xF9});
// The PIN check from 0x504: version, required software, PIN status.
const Frames kPinCheck = {{0xE1, 0, 0}, {0xE1, 0, 1}, {0xEE, 0x40, 0}};

Frames versionCheckFrames() {
  Frames f = kIdentify;
  append(f, kSerialAndFactory);
  append(f, kPinCheck);
  return f;
}

// The module's default configuration (sim/README.md) written back: base
// values, in the order of the write.
const Frames kWriteBaseValues = {
    {0xE3, 0x01, 4}, {0xE3, 0x02, 4},   {0xE3, 0x04, 25},  {0xE3, 0x86, 25},
    {0xE3, 0x80, 3}, {0xE3, 0x05, 180}, {0xE3, 0x69, 20},  {0xE3, 0x06, 0},
    {0xE3, 0x87, 0}, {0xE3, 0x66, 0},   {0xE3, 0x67, 0},   {0xE3, 0x84, 0},
    {0xE3, 0x85, 8}, {0xE3, 0x68, 0},   {0xE3, 0xE3, 117}, {0xE3, 0xE4, 3}};

Frames writeExtendedValues() {
  Frames f = {{0xE3, 0x81, 128}};
  for (uint8_t a = 0x70; a <= 0x7B; ++a) f.push_back({0xE3, a, 0});
  append(f, {{0xE3, 0x82, 122}, {0xE3, 0x83, 10}});
  // Both pressure curves slot by slot: one point (0 mBar, 0) and end markers.
  for (uint8_t i = 0; i < 8; ++i) {
    const uint8_t pressure = i == 0 ? 0 : 255;
    append(f, {{0xE3, static_cast<uint8_t>(0x50 + 2 * i), pressure},
               {0xE3, static_cast<uint8_t>(0x51 + 2 * i), 0},
               {0xE3, static_cast<uint8_t>(0xD0 + 2 * i), pressure},
               {0xE3, static_cast<uint8_t>(0xD1 + 2 * i), 0}});
  }
  append(f, {{0xE3, 0x63, 60}, {0xE3, 0x64, 2}, {0xE3, 0x65, 170}});
  for (uint8_t i = 0; i < 8; ++i)
    f.push_back({0xE3, static_cast<uint8_t>(0xE5 + i), static_cast<uint8_t>(1 << i)});
  return f;
}

// Temperature fold with relative maximum 100 below the absolute 110: only
// the relative one restarts. Then the restart.
const Frames kFoldAndRestart = {
    {0xE1, 0, 0}, {0xE2, 0x03, 0}, {0xE2, 0x07, 0}, {0xE3, 0x03, 0}, {0xEF, 0, 0}};

TEST(IgnitionFrameOrder, ReadOfFirmware0x702) {
  sim::Scenario s = test::firmware(0x0702);
  // Vehicle information Z e b 0 R 1 0 0 x 0: the 4th 0 byte is at address 9.
  s.ignition.info = sim::infoFromTexts({"Zeb", "R1", "", "x"});
  Bench b(s);
  ASSERT_EQ(b.read(), texts::kTextReadOk);

  Frames want = versionCheckFrames();
  // Base values.
  append(want, reads({0x01, 0x02, 0x04, 0x86, 0x80, 0x81, 0x05, 0x69, 0x06, 0x87, 0x66, 0x67, 0x84,
                      0x85, 0x68}));
  // Two curves of two points each: rpm and angle per slot, then the end marker.
  append(want, reads({0x08, 0x09, 0x0A, 0x0B, 0x0C}));
  append(want, reads({0x88, 0x89, 0x8A, 0x8B, 0x8C}));
  // Live value 0 (120: a sensor), then the two temperature maxima.
  want.push_back({0xE6, 0, 0});
  append(want, reads({0x03, 0x07}));
  append(want, reads({0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x7B, 0x82,
                      0x83}));
  for (uint8_t i = 0; i < 8; ++i) {
    append(want, reads({static_cast<uint8_t>(0x50 + 2 * i), static_cast<uint8_t>(0x51 + 2 * i),
                        static_cast<uint8_t>(0xD0 + 2 * i), static_cast<uint8_t>(0xD1 + 2 * i)}));
  }
  append(want, reads({0x63, 0x64, 0x65, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC}));
  // Vehicle information: select the area, bytes up to the 4th end, leave.
  want.push_back({0xEE, 3, 120});
  append(want, reads({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  want.push_back({0xEE, 1, 0});

  const Frames got = sentFrames(b);
  EXPECT_EQ(got, want) << "got:\n" << describe(got) << "want:\n" << describe(want);
}

TEST(IgnitionFrameOrder, Writes) {
  struct Case {
    const char* name;
    uint16_t firmware;
    bool emptyCurve2;
    Frames curves;
  };
  const Case cases[] = {
      // Firmware 0x600 with the limiter at 9000 rpm (byte 180): each curve gets
      // the limiter point and a ramp to -40 degrees (0xD8); end marker first.
      // Curve 1 ramps from 30 degrees to 9000 + 700 rpm (byte 194), curve 2
      // from 0 degrees to 9000 + 400 rpm (byte 188).
      {"0x600 with ramp",
       0x0600,
       false,
       {{0xE3, 0x10, 255}, {0xE3, 0x11, 0xD8}, {0xE3, 0x08, 16},  {0xE3, 0x09, 5},
        {0xE3, 0x0A, 60},  {0xE3, 0x0B, 30},   {0xE3, 0x0C, 180}, {0xE3, 0x0D, 30},
        {0xE3, 0x0E, 194}, {0xE3, 0x0F, 0xD8}, {0xE3, 0x90, 255}, {0xE3, 0x91, 0xD8},
        {0xE3, 0x88, 16},  {0xE3, 0x89, 0},    {0xE3, 0x8A, 60},  {0xE3, 0x8B, 0},
        {0xE3, 0x8C, 180}, {0xE3, 0x8D, 0},    {0xE3, 0x8E, 188}, {0xE3, 0x8F, 0xD8}}},
      // Firmware 0x702: the points only, end marker with the last angle first.
      {"0x702",
       0x0702,
       false,
       {{0xE3, 0x0C, 255},
        {0xE3, 0x0D, 30},
        {0xE3, 0x08, 16},
        {0xE3, 0x09, 5},
        {0xE3, 0x0A, 60},
        {0xE3, 0x0B, 30},
        {0xE3, 0x8C, 255},
        {0xE3, 0x8D, 0},
        {0xE3, 0x88, 16},
        {0xE3, 0x89, 0},
        {0xE3, 0x8A, 60},
        {0xE3, 0x8B, 0}}},
      // An empty curve 2 is its end marker alone, angle byte 0.
      {"0x702 with an empty curve 2",
       0x0702,
       true,
       {{0xE3, 0x0C, 255},
        {0xE3, 0x0D, 30},
        {0xE3, 0x08, 16},
        {0xE3, 0x09, 5},
        {0xE3, 0x0A, 60},
        {0xE3, 0x0B, 30},
        {0xE3, 0x88, 255},
        {0xE3, 0x89, 0}}},
  };
  for (const Case& c : cases) {
    sim::Scenario s = test::firmware(c.firmware);
    if (c.emptyCurve2) s.ignition.memory[0x88] = 255;
    Bench b(s);
    ASSERT_EQ(b.read(), texts::kTextReadOk) << c.name;
    const int firstWriteFrame = b.bus.framesReceived() + 1;
    b.prompts.yesNoAnswers = {true};  // both firmwares are old: the write asks
    ASSERT_EQ(b.write(), texts::kTextWriteOk) << c.name;

    // Neither firmware writes the vehicle information (0x600 has none; 0x700
    // to 0x702 keep it unwritten).
    Frames want = versionCheckFrames();
    append(want, kWriteBaseValues);
    append(want, c.curves);
    append(want, writeExtendedValues());
    append(want, kFoldAndRestart);
    const Frames got = sentFrames(b, firstWriteFrame);
    EXPECT_EQ(got, want) << c.name << "\ngot:\n" << describe(got) << "want:\n" << describe(want);
  }
}

}  // namespace
}  // namespace ignition
