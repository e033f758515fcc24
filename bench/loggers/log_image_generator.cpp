#include "log_image_generator.h"

#include <array>
#include <cmath>
#include <ostream>
#include <vector>

namespace loggers::images {

namespace {

constexpr size_t kBlock = 512;
constexpr size_t kPieceBlocks = 2048;  // written 1 MByte at a time

uint8_t bcd(int v) {
  return static_cast<uint8_t>((v / 10) << 4 | (v % 10));
}

// A small deterministic generator (xorshift).
struct Random {
  uint32_t state;
  uint32_t next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  int range(int low, int high) { return low + static_cast<int>(next() % (high - low + 1)); }
};

// The clock of the recording: days from 1 March 2019 on.
struct RecordClock {
  int64_t seconds = 8 * 3600;
  void header(uint8_t* b) const {
    const int64_t day = seconds / 86400;
    const int s = static_cast<int>(seconds % 86400);
    b[0] = bcd(19);
    b[1] = bcd(3 + static_cast<int>(day / 28) % 9);
    b[2] = bcd(1 + static_cast<int>(day % 28));
    b[3] = bcd(s / 3600);
    b[4] = bcd(s / 60 % 60);
    b[5] = bcd(s % 60);
  }
};

// A drive: speed and engine speed follow slow waves with some noise.
struct Drive {
  double t = 0.0;
  double speedKmh() const { return std::max(0.0, 70.0 + 60.0 * std::sin(t / 90.0)); }
  double rpm() const { return 900.0 + 2600.0 * (1.0 + std::sin(t / 37.0)); }
};

void carRecord(uint8_t* r, Drive& d, Random& rnd) {
  // Wheel pulses of a 1.9 m wheel in 250 ms, the last one somewhere in it.
  const double pulses = d.speedKmh() / 3.6 * 0.25 / 1.9;
  const int n = std::min(31, static_cast<int>(pulses + rnd.range(0, 99) / 100.0));
  const int lastUs = n == 0 ? 0 : rnd.range(0, 249999);
  r[0] = static_cast<uint8_t>(lastUs / 1000);
  r[1] = static_cast<uint8_t>(n | ((lastUs % 1000) / 128) << 5);
  // Ignition pulses of 4 cylinders: two per turn.
  const double period = 60.0 / (d.rpm() * 2.0);
  const int sparks = std::min(255, static_cast<int>(0.25 / period) + 1);
  const int length = std::min(65535, static_cast<int>((sparks - 1) * period / 8e-6));
  r[2] = static_cast<uint8_t>(sparks);
  r[3] = static_cast<uint8_t>(length >> 8);
  r[4] = static_cast<uint8_t>(length);
  r[5] = static_cast<uint8_t>(50 + rnd.range(-12, 12));
  r[6] = static_cast<uint8_t>(50 + rnd.range(-20, 20));
  r[7] = static_cast<uint8_t>(30 + (d.rpm() - 900) / 30);
  r[8] = static_cast<uint8_t>(rnd.range(40, 75));
  r[9] = static_cast<uint8_t>(rnd.range(40, 75));
  r[10] = rnd.range(0, 400) == 0 ? 0x04 : 0x00;
  d.t += 0.25;
}

void carDataBlock(uint8_t* b, Drive& d, Random& rnd) {
  for (int g = 0; g < 5; ++g) {
    uint8_t* group = b + 12 + g * 100;
    for (int k = 0; k < 8; ++k) carRecord(group + k * 11, d, rnd);
    group[88] = static_cast<uint8_t>(rnd.range(120, 180));
    group[89] = static_cast<uint8_t>(rnd.range(60, 90));
    group[90] = 0;
    group[91] = 0;
    group[92] = static_cast<uint8_t>(rnd.range(225, 240));
  }
}

void carStreamBlock(uint8_t* b, Random& rnd) {
  b[8] = 0x01;
  uint16_t t1 = 0, t2 = 0;
  size_t i = 12;
  // 99 frames of 5 bytes: speed frames and timer frames in turn.
  for (int f = 0; i + 5 <= 507; ++f) {
    if (f % 2 == 0) {
      const int p = rnd.range(400, 3000);
      const int a = rnd.range(-200, 400);
      const uint8_t frame[] = {0xFF, static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p),
                               static_cast<uint8_t>(a >> 8), static_cast<uint8_t>(a)};
      for (uint8_t v : frame) b[i++] = v;
    } else {
      t1 = static_cast<uint16_t>(t1 + rnd.range(500, 4000));
      t2 = static_cast<uint16_t>(t2 + rnd.range(500, 4000));
      const uint8_t frame[] = {static_cast<uint8_t>(0xF2 | (rnd.range(0, 3) << 2)),
                               static_cast<uint8_t>(t1 >> 8), static_cast<uint8_t>(t1),
                               static_cast<uint8_t>(t2 >> 8), static_cast<uint8_t>(t2)};
      for (uint8_t v : frame) b[i++] = v;
    }
  }
  while (i < kBlock) b[i++] = 0xFF;
}

template <class Fill>
void writeBlocks(std::ostream& out, uint64_t blocks, Fill fill) {
  std::vector<uint8_t> piece(kPieceBlocks * kBlock);
  for (uint64_t done = 0; done < blocks;) {
    const uint64_t n = std::min<uint64_t>(kPieceBlocks, blocks - done);
    for (uint64_t i = 0; i < n; ++i) fill(piece.data() + i * kBlock, done + i);
    out.write(reinterpret_cast<const char*>(piece.data()),
              static_cast<std::streamsize>(n * kBlock));
    done += n;
  }
}

}  // namespace

std::string vehicleFile() {
  return "[CarLogger]\r\n[Referenz]\r\n5,0\r\n[G-Sensor]\r\n0,02\r\n-0,04\r\n[RadUmfang]\r\n"
         "1,9\r\n[Zylinder]\r\n4\r\n[Poti]\r\n%\r\n1.0\r\n14 Volt 100\r\n1 Volt 0\r\n"
         "[Sensor1]\r\n\xB0"
         "C\r\n1,0\r\n1000\r\n4000 Ohm 20\r\n1000 Ohm 60\r\n300 Ohm 100\r\n100 Ohm 140\r\n"
         "[Sensor2]\r\nbar\r\n1,0\r\n470\r\n500 Ohm 0\r\n200 Ohm 2,5\r\n50 Ohm 6\r\n"
         "[Sensor3]\r\n[Sensor4]\r\n";
}

void writeCarImage(std::ostream& out, uint64_t blocks, uint32_t seed, int streamEvery) {
  Random rnd{seed | 1};
  Drive drive;
  RecordClock clock;
  writeBlocks(out, blocks, [&](uint8_t* b, uint64_t index) {
    std::fill(b, b + kBlock, 0);
    clock.header(b);
    if (streamEvery > 0 && index % static_cast<uint64_t>(streamEvery) == 50) {
      carStreamBlock(b, rnd);
    } else {
      carDataBlock(b, drive, rnd);
    }
    // Ten seconds a block; now and then the car stands for a while.
    clock.seconds += rnd.range(0, 499) == 0 ? rnd.range(300, 7200) : 10;
  });
}

void writeLambdaImage(std::ostream& out, uint64_t blocks, uint32_t seed) {
  Random rnd{seed | 1};
  Drive drive;
  RecordClock clock;
  std::vector<uint8_t> pending;  // a speed record that goes on in the next block
  int sample = 0;
  writeBlocks(out, blocks, [&](uint8_t* b, uint64_t) {
    std::fill(b, b + kBlock, 0);
    clock.header(b);
    size_t i = 12;
    for (uint8_t v : pending) b[i++] = v;
    pending.clear();
    // Samples every 13.6 ms, an engine period after every eighth.
    while (i < kBlock) {
      if (++sample % 9 == 0) {
        const int p = static_cast<int>(3750000 / drive.rpm());
        const uint8_t record[] = {255, static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)};
        for (uint8_t v : record) {
          if (i < kBlock) {
            b[i++] = v;
          } else {
            pending.push_back(v);
          }
        }
      } else {
        b[i++] = static_cast<uint8_t>(rnd.range(72, 130));
      }
      drive.t += 0.0136;
    }
    clock.seconds += 7;
  });
}

}  // namespace loggers::images
