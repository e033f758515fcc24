// The bootloader link against the in-process bus simulator.
#include "link/boot_link.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "link/module_link.h"
#include "sim/bus.h"
#include "sim/sim_device.h"
#include "sim/virtual_clock.h"
#include "texts/boot_text_ids.h"
#include "texts/text_ids.h"

using buslink::BootImage;
using buslink::BootLink;

namespace {

// A simulated port that tells the bus which rate it listens at, so that the
// bootloader's bytes at another rate arrive garbled.
class RateDevice : public platform::SerialDevice {
 public:
  RateDevice(sim::Bus& bus, sim::VirtualClock& clock) : bus_(bus), device_(bus, clock) {}
  bool openDevice(int n) override { return device_.openDevice(n); }
  bool isOpen() const override { return device_.isOpen(); }
  void closeDevice() override { device_.closeDevice(); }
  bool setBufferSizes(int r, int t) override { return device_.setBufferSizes(r, t); }
  bool purge() override { return device_.purge(); }
  bool applyTimeouts(const platform::SerialTimeouts& t) override {
    return device_.applyTimeouts(t);
  }
  bool applyLineSettings(int baud) override { return setBaudRate(baud); }
  bool setBaudRate(int baud) override {
    {
      std::lock_guard lock(bus_.mutex());
      bus_.setPcBaud(baud);
    }
    return device_.setBaudRate(baud);
  }
  bool setRts(bool on) override { return device_.setRts(on); }
  bool setDtr(bool on) override { return device_.setDtr(on); }
  int write(const uint8_t* d, int n) override { return device_.write(d, n); }
  int read(uint8_t* b, int n) override { return device_.read(b, n); }
  void abortRead() override { device_.abortRead(); }

 private:
  sim::Bus& bus_;
  sim::SimDevice device_;
};

struct Record {
  uint32_t address;
  std::vector<uint8_t> data;
};

std::vector<uint8_t> pattern(size_t n, int seed) {
  std::vector<uint8_t> d(n);
  for (size_t i = 0; i < n; ++i) d[i] = static_cast<uint8_t>((i * 7 + seed) % 251);
  return d;
}

// A section as the firmware file lays it out: header, then records of
// address, length and data from offset 32.
BootImage makeImage(const std::vector<Record>& records, uint8_t e, uint8_t w,
                    uint16_t deviceId = 0xAD07) {
  BootImage img;
  auto put32 = [&img](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) img.bytes[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
  };
  img.bytes[0] = 0x02;
  img.bytes[3] = 32;
  img.bytes[14] = static_cast<uint8_t>(deviceId >> 8);
  img.bytes[15] = static_cast<uint8_t>(deviceId);
  put32(24, 0x01020304);  // running number
  img.bytes[28] = 0x4B;   // 19200
  img.bytes[29] = 0x00;
  img.bytes[30] = e;
  img.bytes[31] = w;
  img.bytes[38] = 0xE0;
  size_t p = 32;
  for (const Record& r : records) {
    put32(p, r.address);
    put32(p + 4, static_cast<uint32_t>(r.data.size()));
    std::copy(r.data.begin(), r.data.end(), img.bytes.begin() + p + 8);
    p += 8 + r.data.size();
  }
  put32(8, static_cast<uint32_t>(p));
  img.sectionLength = static_cast<uint32_t>(p);
  img.family = 0xE0;
  img.baudRates = {};
  img.baudRates[0] = 9600;
  img.baudRates[1] = 19200;
  return img;
}

// 128 bytes at 0 (two 64-byte blocks) and 48 bytes at 0x100 (ends inside a block).
std::vector<Record> standardRecords() {
  return {{0x0000, pattern(128, 1)}, {0x0100, pattern(48, 9)}};
}

sim::BootloaderSetup bootloader(uint16_t version, bool defective = true) {
  sim::BootloaderSetup b;
  b.baud = 19200;
  b.version = version;
  b.startsInBootloader = defective;
  b.flashSize = 4096;
  b.eraseBlock = 64;
  b.writeBlock = 64;
  return b;
}

struct Bench {
  explicit Bench(const sim::BootloaderSetup& b, bool echo = true) : bus(scenario(b, echo)) {}
  static sim::Scenario scenario(const sim::BootloaderSetup& b, bool echo) {
    sim::Scenario s;
    s.ignition.bootloader = b;
    s.faults.noEcho = !echo;
    return s;
  }
  std::unique_ptr<BootLink> newLink(const BootImage& image) {
    auto link = std::make_unique<BootLink>(std::make_unique<RateDevice>(bus, clock), clock);
    link->setPortNumber(4);
    link->setImage(image);
    return link;
  }
  sim::BootloaderModel& bl() { return *bus.bootloaderAt(0xE0); }
  sim::Bus bus;
  sim::VirtualClock clock;
};

// Opens at the bootloader's rate and finds it.
void connect(BootLink& link) {
  ASSERT_EQ(link.setBaudRate(19200), 0);
  ASSERT_EQ(link.openPort(), 0);
  ASSERT_EQ(link.waitForBootloader(), 0);
}

// Frames the PC sent at `baud`, cut by the command lengths of the protocol.
std::vector<std::vector<uint8_t>> pcFrames(const sim::Bus& bus, int baud, bool longAddresses) {
  std::vector<uint8_t> bytes;
  for (const sim::TranscriptEntry& e : bus.transcript()) {
    if (e.kind == sim::TranscriptEntry::Kind::kLineByte && e.baudRate == baud)
      bytes.insert(bytes.end(), e.pc.begin(), e.pc.end());
  }
  const size_t a = longAddresses ? 4 : 3;
  std::vector<std::vector<uint8_t>> frames;
  for (size_t i = 0; i < bytes.size();) {
    size_t n = 1;
    switch (bytes[i]) {
      case 0xF1:
      case 0xF2:
      case 0xF4:
        n = 2;
        break;
      case 0xF3:
        n = 4;
        break;
      case 0xF5:
        n = 6;
        break;
      case 0xF8:
        n = 2 + a;
        break;
      case 0xF7:
        n = 18 + a;
        break;
      default:
        break;
    }
    frames.emplace_back(bytes.begin() + i, bytes.begin() + std::min(i + n, bytes.size()));
    i += n;
  }
  return frames;
}

uint32_t frameAddress(const std::vector<uint8_t>& f, bool longAddresses) {
  uint32_t v = 0;
  for (size_t i = 1; i <= (longAddresses ? 4u : 3u); ++i) v = v << 8 | f[i];
  return v;
}

void expectFlashHolds(const sim::BootloaderModel& bl, const std::vector<Record>& records) {
  for (const Record& r : records) {
    for (size_t i = 0; i < r.data.size(); ++i) {
      ASSERT_EQ(bl.flash[r.address + i], r.data[i]) << "flash address " << r.address + i;
    }
  }
}

TEST(BootLinkFrames, IdentificationFramesAndVersionRules) {
  struct Case {
    uint16_t version;
    int32_t result;
    bool longAddresses;
  };
  const Case cases[] = {{0x0200, 0, true},       {2, 0, false},          {8, 0, false},
                        {256, 0, false},         {260, 0, false},        {9, 9, false},
                        {0x0105, 0x0105, false}, {0x0201, 0x0201, false}};
  for (const Case& c : cases) {
    Bench b(bootloader(c.version));
    auto link = b.newLink(makeImage(standardRecords(), 6, 6));
    ASSERT_EQ(link->setBaudRate(19200), 0);
    ASSERT_EQ(link->openPort(), 0);
    EXPECT_EQ(link->detectEcho(), c.result) << c.version;
    EXPECT_TRUE(link->echoMode());
    EXPECT_EQ(link->longAddresses(), c.longAddresses) << c.version;
    EXPECT_EQ(link->bootloaderVersion(), c.version);
    const auto frames = pcFrames(b.bus, 19200, false);
    EXPECT_EQ(frames, (std::vector<std::vector<uint8_t>>{{0xA3}, {0xF1, 0xA4}}));
  }
}

TEST(BootLinkFrames, AddressWidthFollowsTheBootloaderVersion) {
  for (const uint16_t version : {uint16_t{0x0200}, uint16_t{0x0104}}) {
    const bool longAddresses = version == 0x0200;
    Bench b(bootloader(version));
    auto link = b.newLink(makeImage(standardRecords(), 6, 6));
    connect(*link);
    ASSERT_EQ(link->enableProgramming(), 0);
    ASSERT_EQ(link->eraseBlock(0x40), 0);
    std::array<uint8_t, 16> data{};
    data.fill(0x11);
    ASSERT_EQ(link->writeChunk(0x40, data.data()), 0);
    const auto frames = pcFrames(b.bus, 19200, longAddresses);
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(frames[frames.size() - 3], (std::vector<uint8_t>{0xF3, 0x12, 0x56, 0xE2}));
    const std::vector<uint8_t> erase = longAddresses
                                           ? std::vector<uint8_t>{0xF8, 0, 0, 0, 0x40, 0xED}
                                           : std::vector<uint8_t>{0xF8, 0, 0, 0x40, 0xED};
    EXPECT_EQ(frames[frames.size() - 2], erase);
    const std::vector<uint8_t>& chunk = frames.back();
    // 0x11 sixteen times cancels out: check = 0x55 ^ 0xF7 ^ 0x40.
    ASSERT_EQ(chunk.size(), longAddresses ? 22u : 21u);
    EXPECT_EQ(chunk.back(), 0x55 ^ 0xF7 ^ 0x40);
    for (size_t i = 0; i < 16; ++i) EXPECT_EQ(chunk[chunk.size() - 17 + i], 0x11);
  }
}

TEST(BootLinkFrames, DeviceIdAndFirmwareNumber) {
  sim::BootloaderSetup s = bootloader(0x0200);
  s.deviceId = 0xAD85;
  s.firmwareNumber = 0x00012345;
  Bench b(s);
  auto same = b.newLink(makeImage(standardRecords(), 6, 6, 0xAD85));
  connect(*same);
  EXPECT_EQ(same->readDeviceId(), 0);
  EXPECT_EQ(same->readFirmwareNumber(), 0);
  EXPECT_EQ(same->firmwareNumber(), 0x00012345u);
  same->close();
  b.bus.powerCycle(b.clock.now_us());  // announces itself again
  // Reported with 8080 by the window: the id the module gave.
  auto other = b.newLink(makeImage(standardRecords(), 6, 6, 0xAD07));
  connect(*other);
  EXPECT_EQ(other->readDeviceId(), 0xAD85);
  EXPECT_EQ(other->deviceId(), 0xAD85u);
}

TEST(BootLinkFrames, LostReplyCostsThreeTimesThreeReadTimeoutsAndAPause) {
  sim::BootloaderSetup s = bootloader(0x0200);
  s.dropLineAfterChunk = 1;
  Bench b(s, false);
  auto link = b.newLink(makeImage(standardRecords(), 6, 6));
  connect(*link);
  ASSERT_EQ(link->enableProgramming(), 0);
  std::array<uint8_t, 16> data{};
  ASSERT_EQ(link->writeChunk(0x40, data.data()), -20);  // the line dies with the chunk
  const int64_t start = b.clock.now_us();
  EXPECT_EQ(link->readBootloaderVersion(), -20);
  // Opened at 19200: k = 1, a 4-byte read waits 54 ms; each try also sends
  // two bytes (10 bit times each at 19200).
  const double expected = 3 * (3 * 54000.0 + 10000.0 + 2 * 10e6 / 19200);
  EXPECT_NEAR(static_cast<double>(b.clock.now_us() - start), expected, 5);
}

TEST(BootLinkFinding, BaudRateFoundAt19200FromTheFileList) {
  Bench b(bootloader(0x0200));
  auto link = b.newLink(makeImage(standardRecords(), 6, 6));
  ASSERT_EQ(link->openPort(), 0);  // 9600 after construction
  EXPECT_GT(link->detectBaudRate(), 5);
  EXPECT_EQ(link->baudRate(), 19200);
}

TEST(BootLinkFinding, NoBootloaderGivesZeroAndNotFound) {
  sim::BootloaderSetup s = bootloader(0x0200, false);
  Bench b(s);
  auto link = b.newLink(makeImage(standardRecords(), 6, 6));
  ASSERT_EQ(link->openPort(), 0);
  EXPECT_EQ(link->detectBaudRate(), 0);
  EXPECT_EQ(link->waitForBootloader(), 1);
  EXPECT_FALSE(link->synchronised());
}

TEST(BootLinkFinding, RestartedModuleIsFoundAndStopsAnsweringLinkFrames) {
  Bench b(bootloader(0x0200, false));
  auto link = b.newLink(makeImage(standardRecords(), 6, 6));
  ASSERT_EQ(link->open9600(), 0);
  ASSERT_EQ(link->sendRestart(), 0);
  const auto& t = b.bus.transcript();
  ASSERT_FALSE(t.empty());
  EXPECT_EQ(t.back().pc, (std::vector<uint8_t>{0xEF, 0x00, 0x00, 0xB5}));
  ASSERT_EQ(link->setBaudRate(19200), 1);  // refused while open at another rate
  ASSERT_EQ(link->applyBaudRate(), 0);
  // The stored rate is still 9600; the file's rate is set before the port opens.
  link->close();
  ASSERT_EQ(link->setBaudRate(19200), 0);
  ASSERT_EQ(link->openPort(), 0);
  EXPECT_EQ(link->waitForBootloader(), 0);
  EXPECT_TRUE(link->synchronised());
  EXPECT_TRUE(link->echoMode());
  link->close();

  buslink::ModuleLink module(std::make_unique<RateDevice>(b.bus, b.clock), b.clock);
  module.setPortNumber(4);
  ASSERT_EQ(module.openPort(), 0);
  uint16_t version = 0;
  EXPECT_EQ(module.readFirmwareVersion(version), texts::kTextModuleNotFound);
}

TEST(BootLinkProgramming, SimpleWritesTheFirstChunkLast) {
  const std::vector<Record> records = standardRecords();
  Bench b(bootloader(5));
  auto link = b.newLink(makeImage(records, 6, 6));
  connect(*link);
  int steps = 0;
  link->setProgressHook([&steps] { ++steps; });
  ASSERT_EQ(link->programSimple(), 0);
  expectFlashHolds(b.bl(), records);
  EXPECT_EQ(b.bl().firmwareNumber, 0x01020304u);
  std::vector<uint32_t> order;
  for (const auto& f : pcFrames(b.bus, 19200, false)) {
    if (f[0] == 0xF7) order.push_back(frameAddress(f, false));
  }
  const std::vector<uint32_t> expected = {0x10, 0x20,  0x30,  0x40,  0x50, 0x60,
                                          0x70, 0x100, 0x110, 0x120, 0x00};
  EXPECT_EQ(order, expected);
  EXPECT_EQ(steps, 11);
}

TEST(BootLinkProgramming, BlocksEraseFirstAndWriteTheFirstBlockLast) {
  const std::vector<Record> records = standardRecords();
  for (const bool echo : {true, false}) {
    for (const uint16_t version : {uint16_t{0x0200}, uint16_t{260}}) {
      SCOPED_TRACE(testing::Message() << "echo " << echo << " version " << version);
      const bool longAddresses = version == 0x0200;
      // A module with old firmware: its flash holds data that must be erased.
      Bench b(bootloader(version, false), echo);
      b.bl().start(0);
      auto link = b.newLink(makeImage(records, 6, 6));
      connect(*link);
      EXPECT_EQ(link->echoMode(), echo);
      ASSERT_EQ(link->programBlocks(), 0);
      expectFlashHolds(b.bl(), records);
      EXPECT_EQ(b.bl().flash[0x130], 0xFF);  // the padding chunk
      std::vector<uint32_t> erases, writes;
      for (const auto& f : pcFrames(b.bus, 19200, longAddresses)) {
        if (f[0] == 0xF8) erases.push_back(frameAddress(f, longAddresses));
        if (f[0] == 0xF7) writes.push_back(frameAddress(f, longAddresses));
      }
      EXPECT_EQ(erases, (std::vector<uint32_t>{0x00, 0x40, 0x100}));
      const std::vector<uint32_t> expected = {0x40,  0x50,  0x60, 0x70, 0x100, 0x110,
                                              0x120, 0x130, 0x00, 0x10, 0x20,  0x30};
      EXPECT_EQ(writes, expected);
    }
  }
}

TEST(BootLinkProgramming, ZeroExponentsEraseEvery32BytesAndWriteNoPadding) {
  const std::vector<Record> records = {{0x0000, pattern(96, 3)}};
  sim::BootloaderSetup s = bootloader(0x0200);
  s.eraseBlock = 32;
  s.writeBlock = 16;
  Bench b(s);
  auto link = b.newLink(makeImage(records, 0, 0));
  connect(*link);
  ASSERT_EQ(link->programBlocks(), 0);
  expectFlashHolds(b.bl(), records);
  std::vector<uint32_t> erases, writes;
  for (const auto& f : pcFrames(b.bus, 19200, true)) {
    if (f[0] == 0xF8) erases.push_back(frameAddress(f, true));
    if (f[0] == 0xF7) writes.push_back(frameAddress(f, true));
  }
  EXPECT_EQ(erases, (std::vector<uint32_t>{0x00, 0x20, 0x40}));
  EXPECT_EQ(writes, (std::vector<uint32_t>{0x10, 0x20, 0x30, 0x40, 0x50, 0x00}));
}

TEST(BootLinkProgramming, FailuresGiveTheirTexts) {
  const std::vector<Record> records = standardRecords();
  {  // 8088 before anything is sent
    Bench b(bootloader(0x0200));
    auto link = b.newLink(makeImage(records, 16, 4));
    connect(*link);
    const size_t before = b.bus.transcript().size();
    EXPECT_EQ(link->programBlocks(), texts::kTextBlockSizesWrong);
    EXPECT_EQ(b.bus.transcript().size(), before);
  }
  {  // 8085: replies 1 and 2 answer the two version reads of the search,
     // 3 enables programming, 4-6 are the three tries of 0xF5
    sim::BootloaderSetup s = bootloader(0x0200);
    s.corruptReply = {4, 5, 6};
    Bench b(s);
    auto link = b.newLink(makeImage(records, 6, 6));
    connect(*link);
    EXPECT_EQ(link->programBlocks(), texts::kTextRunningNumberFailed);
    EXPECT_EQ(b.bl().chunksReceived, 0);
  }
  {  // one corrupt reply is only retried
    sim::BootloaderSetup s = bootloader(0x0200);
    s.corruptReply = {7};
    Bench b(s);
    auto link = b.newLink(makeImage(records, 6, 6));
    connect(*link);
    EXPECT_EQ(link->programBlocks(), 0);
    expectFlashHolds(b.bl(), records);
  }
  {  // 8086 from the simple routine, which does not re-synchronise
    sim::BootloaderSetup s = bootloader(4);
    s.dropLineAfterChunk = 2;
    Bench b(s);
    auto link = b.newLink(makeImage(records, 6, 6));
    connect(*link);
    EXPECT_EQ(link->programSimple(), texts::kTextProgrammingError);
  }
  {  // 8089 after a re-synchronisation that did not help
    sim::BootloaderSetup s = bootloader(0x0200);
    s.refuseErase = {0};
    Bench b(s);
    auto link = b.newLink(makeImage(records, 6, 6));
    connect(*link);
    std::vector<int32_t> posted;
    link->setPostHook([&](int32_t text, int32_t) {
      posted.push_back(text);
      b.bus.powerCycle(b.clock.now_us());
      link->state() = BootLink::kStateProgram;
    });
    EXPECT_EQ(link->programBlocks(), texts::kTextEraseError);
    EXPECT_EQ(posted, (std::vector<int32_t>{texts::kTextSwitchModuleOffAndOn}));
  }
}

// The update is cut after chunk N (0xF7 frames as the bootloader counts
// them: 4 of the second block, 3 + 1 padding of the second record, then the
// 4 of the first block). Every time the module keeps its bootloader and a
// second update from the image alone leaves the flash equal to the image.
TEST(BootLinkInterrupted, EveryCutLeavesABootloaderThatTakesASecondUpdate) {
  const std::vector<Record> records = standardRecords();
  struct Case {
    int chunk;
    bool powerCycle;  // else the line drops and the user gives up
    int32_t firstResult;
    bool firmwareStarts;  // the first block was complete when the cut came
  };
  const int32_t failed = texts::kTextProgrammingError;
  const Case cases[] = {
      {1, false, failed, false},  {2, false, failed, false}, {6, false, failed, false},
      {10, false, failed, false}, {12, false, failed, true}, {1, true, 0, true},
      {2, true, 0, true},         {6, true, 0, true},        {10, true, failed, false},
      {12, true, failed, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "chunk " << c.chunk << " power " << c.powerCycle);
    sim::BootloaderSetup s = bootloader(0x0200, false);
    if (c.powerCycle) {
      s.powerCycleAfterChunk = c.chunk;
    } else {
      s.dropLineAfterChunk = c.chunk;
    }
    Bench b(s);
    b.bl().start(0);
    auto first = b.newLink(makeImage(records, 6, 6));
    connect(*first);
    first->setPostHook([&](int32_t text, int32_t) {
      ASSERT_EQ(text, texts::kTextSwitchModuleOffAndOn);
      if (c.powerCycle) {
        // The retries reached the restarted bootloader and silenced it; the
        // user switches the module off and on as the message asks.
        b.bus.powerCycle(b.clock.now_us());
        first->state() = BootLink::kStateProgram;
      } else {
        first->abort();  // the user closes the window
      }
    });
    EXPECT_EQ(first->programBlocks(), c.firstResult);
    if (c.firstResult == 0) expectFlashHolds(b.bl(), records);
    first->close();

    b.bl().restoreLine();
    b.bus.powerCycle(b.clock.now_us());
    if (!c.firmwareStarts) {
      b.clock.sleepMs(5000);
      std::lock_guard lock(b.bus.mutex());
      b.bus.advanceTo(b.clock.now_us());
      EXPECT_TRUE(b.bl().active());
    }
    b.bus.powerCycle(b.clock.now_us());
    auto second = b.newLink(makeImage(records, 6, 6));
    connect(*second);
    EXPECT_EQ(second->readDeviceId(), 0);
    EXPECT_EQ(second->programBlocks(), 0);
    expectFlashHolds(b.bl(), records);
  }
}

TEST(BootLinkInterrupted, CompletedUpdateRunsTheNewFirmwareAfterPowerOn) {
  std::vector<Record> records = standardRecords();
  records[0].data[0x20] = 9;  // major
  records[0].data[0x21] = 4;  // minor
  records[0].data[0x22] = 2;  // patch
  sim::BootloaderSetup s = bootloader(0x0200);
  s.versionAt = 0x20;
  Bench b(s);
  auto link = b.newLink(makeImage(records, 6, 6));
  connect(*link);
  ASSERT_EQ(link->programBlocks(), 0);
  link->close();
  b.bus.powerCycle(b.clock.now_us());
  b.clock.sleepMs(3000);
  buslink::ModuleLink module(std::make_unique<RateDevice>(b.bus, b.clock), b.clock);
  module.setPortNumber(4);
  ASSERT_EQ(module.selectModule(0xE0), 0);
  uint16_t version = 0;
  ASSERT_EQ(module.readFirmwareVersion(version), 0);
  EXPECT_EQ(version, 0x2904);
}

TEST(BootLinkThreads, AbortFromTheWindowEndsTheWorkersWait) {
  sim::BootloaderSetup s = bootloader(0x0200);
  s.dropLineAfterChunk = 1;
  Bench b(s);
  auto link = b.newLink(makeImage(standardRecords(), 6, 6));
  connect(*link);
  std::atomic<bool> asked{false};
  // The window answers, but the line stays dead: the worker waits for a 0x55.
  link->setPostHook([&](int32_t, int32_t) {
    link->state() = BootLink::kStateProgram;
    asked = true;
  });
  int32_t result = -1;
  std::thread worker([&] { result = link->programBlocks(); });
  while (!asked) std::this_thread::yield();
  link->abort();
  worker.join();
  EXPECT_EQ(result, texts::kTextProgrammingError);
  EXPECT_EQ(link->state().load(), BootLink::kStateAbort);
}

}  // namespace
