// The module link's frame receiver (link/module_link.h): the fuzz input is
// what the bus sends to the PC.
//   byte 0   the operation (see runOperation)
//   byte 1   how the adapter behaves: bit 0 set = it echoes every write and
//            then sends the next reply chunk (a length byte 0-8 and that many
//            bytes) - the rest of the input starts with the chunk of bytes
//            already waiting; clear = writes are swallowed and the rest of the
//            input is the whole stream. Bit 1 (with bit 0 clear): the stream
//            repeats, like a foreign device that never stops, up to a bound.
// Every operation must return (a hang is a libFuzzer time-out) with a result
// the program can show, and the frames it hands back must be what it says.
#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "link/module_link.h"
#include "platform/clock.h"
#include "platform/serial_device.h"
#include "texts/text_ids.h"
#include "texts/text_table.h"

namespace {

// Time moves only when the link waits: every byte read costs its line time
// at 9600 baud (rounded to 1 ms), a read that comes up short its time-out.
class FuzzClock : public platform::Clock {
 public:
  uint32_t ticks() override { return now; }
  void sleepMs(uint32_t ms) override { now += ms; }
  uint32_t now = 0;
};

class FuzzDevice : public platform::SerialDevice {
 public:
  // The bound of a repeating stream: more than a busy line check or a
  // stream resynchronisation ever reads.
  static constexpr size_t kRepeatLimit = 20000;

  FuzzDevice(FuzzClock& clock, const uint8_t* data, size_t size, uint8_t mode)
      : clock_(clock),
        data_(data, data + size),
        echo_((mode & 1) != 0),
        repeat_(!echo_ && (mode & 2) != 0 && size > 0) {
    if (echo_) nextChunk();
  }

  bool openDevice(int) override { return open_ = true; }
  bool isOpen() const override { return open_; }
  void closeDevice() override { open_ = false; }
  bool setBufferSizes(int, int) override { return true; }
  bool purge() override {
    pending_.clear();
    return true;
  }
  bool applyTimeouts(const platform::SerialTimeouts& t) override {
    timeouts_ = t;
    return true;
  }
  bool applyLineSettings(int) override { return true; }
  bool setBaudRate(int) override { return true; }
  bool setRts(bool) override { return true; }
  bool setDtr(bool) override { return true; }
  int write(const uint8_t* bytes, int count) override {
    if (!echo_) return count;
    pending_.insert(pending_.end(), bytes, bytes + count);
    nextChunk();
    return count;
  }
  int read(uint8_t* buffer, int count) override {
    int n = 0;
    while (n < count) {
      if (!pending_.empty()) {
        buffer[n++] = pending_.front();
        pending_.pop_front();
      } else if (!echo_ && position_ < streamLength()) {
        buffer[n++] = data_[position_++ % data_.size()];
      } else {
        break;
      }
    }
    clock_.now += static_cast<uint32_t>(n);
    if (n < count) clock_.now += timeouts_.readMultiplier * count + timeouts_.readConstant;
    return n;
  }
  void abortRead() override {}

 private:
  size_t streamLength() const { return repeat_ ? kRepeatLimit : data_.size(); }

  // The module's answer to the frame just written: a length byte, then bytes.
  void nextChunk() {
    if (position_ >= data_.size()) return;
    size_t length = data_[position_++] % 9;
    for (; length > 0 && position_ < data_.size(); --length) pending_.push_back(data_[position_++]);
  }

  FuzzClock& clock_;
  std::vector<uint8_t> data_;
  bool echo_;
  bool repeat_;
  size_t position_ = 0;
  std::deque<uint8_t> pending_;
  bool open_ = false;
  platform::SerialTimeouts timeouts_;
};

// A result the program shows: 0, or a text ID that has a text.
void checkResult(int32_t result, const char* operation) {
  FUZZ_CHECK(result == 0 || !texts::text(result).empty(),
             std::string(operation) + " returned " + std::to_string(result) + " without a text");
}

bool validFrame(const std::array<uint8_t, 4>& f) {
  return (f[0] ^ f[1] ^ f[2] ^ f[3]) == buslink::ModuleLink::kCheckSeed;
}

void runOperation(buslink::ModuleLink& link, uint8_t operation) {
  switch (operation % 8) {
    case 0: {
      uint8_t value = 0;
      checkResult(link.readByte(0x10, value), "readByte");
      break;
    }
    case 1:
      for (int i = 0; i < 8; ++i) {
        uint8_t d1 = 0, d2 = 0;
        const int32_t r = link.readStreamFrame(d1, d2);
        FUZZ_CHECK(r == 0 || r == 4, "readStreamFrame returned " + std::to_string(r));
        if (r == 0) break;
        const auto& f = link.receiveBuffer();
        FUZZ_CHECK(f[0] == 0x3B && validFrame(f) && f[1] == d1 && f[2] == d2,
                   "readStreamFrame handed back another frame than it read");
      }
      break;
    case 2: {
      const int32_t r = link.checkLineIdle();
      FUZZ_CHECK(r == 0 || r == texts::kTextComBusy, "checkLineIdle returned " + std::to_string(r));
      break;
    }
    case 3: {
      buslink::FoundModuleTable table;
      const int32_t r = link.searchModules(table);
      if (r > buslink::kMaxFoundModules) checkResult(r, "searchModules");
      FUZZ_CHECK(r >= 0, "searchModules returned a negative count");
      break;
    }
    case 4:
      checkResult(link.writeByte(0x10, 0x55), "writeByte");
      break;
    case 5: {
      uint32_t serial = 0;
      checkResult(link.readSerialNumber(serial), "readSerialNumber");
      FUZZ_CHECK(serial <= 9999999, "a serial number of more than seven digits");
      break;
    }
    case 6:
      checkResult(link.waitForPcSearch(), "waitForPcSearch");
      break;
    case 7: {
      uint16_t word = 0;
      checkResult(link.readFirmwareVersion(word), "readFirmwareVersion");
      checkResult(link.readTypeId(word), "readTypeId");
      checkResult(link.selectBySerial(0x1234567), "selectBySerial");
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::isolateUserFolders();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  FuzzClock clock;
  auto device = std::make_unique<FuzzDevice>(clock, data + 2, size - 2, data[1]);
  buslink::ModuleLink link(std::move(device), clock);
  link.setPortNumber(1);
  FUZZ_CHECK(link.openPort() == 0, "the fuzz device did not open");
  runOperation(link, data[0]);
  link.close();
  return 0;
}
