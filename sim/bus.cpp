#include "sim/bus.h"

#include <array>
#include <stdexcept>
#include <string>

#include "sim/display_models.h"
#include "sim/logger_models.h"

namespace sim {

namespace {

constexpr int kWakeBaud = 300;
constexpr uint8_t kPcSearchAnswer[] = {0x56, 0x78};

void applySetup(ModuleModel& m, const ModuleSetup& s) {
  if (s.typeWord) m.typeWord = *s.typeWord;
  if (s.firmwareVersion) m.firmwareVersion = *s.firmwareVersion;
  if (s.requiredSoftwareVersion) m.requiredSoftwareVersion = *s.requiredSoftwareVersion;
  m.period = s.period;
  if (s.serial) m.setSerialBcd(decimalToBcd(*s.serial));
  for (const auto& [a, v] : s.memory) m.memory[a] = v;
  for (const auto& [i, v] : s.liveValues) m.liveValues[i] = v;
  for (const auto& [i, v] : s.statusBytes) m.statusBytes[i] = v;
  for (uint8_t a : s.readOnly) m.readOnly.set(a);
  m.asleep = s.asleep;
  m.answers = s.answers;
}

std::unique_ptr<ModuleModel> plainModule(uint8_t address, const ModuleSetup& s) {
  auto m = std::make_unique<ModuleModel>(address);
  m->firmwareVersion = 0x0100;
  m->requiredSoftwareVersion = 0x0100;
  applyDisplayDefaults(*m);
  applyLoggerDefaults(*m);
  applySetup(*m, s);
  return m;
}

}  // namespace

Bus::Bus(const Scenario& s)
    : moduleBaud_(s.moduleBaud),
      faults_(s.faults),
      logStream_(s.ignition.logMode),
      osciStream_(s.ignition.wheel),
      pcSearchIntervalMs_(s.pcSearchIntervalMs) {
  if (std::string e = validateScenario(s); !e.empty()) throw std::invalid_argument(e);
  if (s.hasIgnition) {
    ignition_ = std::make_unique<IgnitionModel>();
    applySetup(*ignition_, s.ignition);
    ignition_->pin = s.ignition.pin;
    ignition_->pinGiven = s.ignition.pin != 0 && s.ignition.pinGiven;
    for (const auto& [a, v] : s.ignition.info) ignition_->info[a] = v;
  }
  for (const ModuleSetup& m : s.modules) modules_[m.address] = plainModule(m.address, m);
  for (const ModuleSetup& m : s.serialModules) serial_.add(plainModule(kSerialBusAddress, m));
  auto addBootloader = [this](const ModuleSetup& m) {
    if (!m.bootloader) return;
    ModuleModel* module = moduleAt(m.address);
    bootloaders_[m.address] = std::make_unique<BootloaderModel>(*m.bootloader, *module);
  };
  if (s.hasIgnition) addBootloader(s.ignition);
  for (const ModuleSetup& m : s.modules) addBootloader(m);
  nextPcSearchUs_ = static_cast<int64_t>(pcSearchIntervalMs_) * 1000;
}

void Bus::forEachModule(const std::function<void(ModuleModel&)>& fn) {
  if (ignition_) fn(*ignition_);
  for (auto& [a, m] : modules_) fn(*m);
  for (size_t i = 0; i < serial_.size(); ++i) fn(serial_.module(i));
}

bool Bus::injected(size_t i) const {
  return i < injected_.size() && injected_[i];
}

ModuleModel* Bus::moduleAt(uint8_t address) {
  if (address == kIgnitionAddress) return ignition_.get();
  if (address == kSerialBusAddress) {
    if (ModuleModel* m = serial_.selected()) return m;
  }
  auto it = modules_.find(address);
  return it == modules_.end() ? nullptr : it->second.get();
}

void Bus::send(uint8_t byte, int baudRate) {
  if (output_.size() < kOutputLimit) output_.push_back({byte, baudRate});
}

void Bus::send(const std::vector<uint8_t>& bytes, int baudRate) {
  for (uint8_t b : bytes) send(b, baudRate);
}

uint8_t Bus::takeOutput() {
  const OutputByte b = output_.front();
  output_.pop_front();
  if (pcBaud_ != 0 && b.baudRate != 0 && b.baudRate != pcBaud_) return kGarbledByte;
  return b.byte;
}

BootloaderModel* Bus::bootloaderAt(uint8_t address) {
  auto it = bootloaders_.find(address);
  return it == bootloaders_.end() ? nullptr : it->second.get();
}

BootloaderModel* Bus::activeBootloader() {
  for (auto& [a, bl] : bootloaders_) {
    if (bl->active()) return bl.get();
  }
  return nullptr;
}

void Bus::powerCycle(int64_t nowUs) {
  for (auto& [a, bl] : bootloaders_) bl->powerCycle(nowUs);
  // Log mode lives in the module's RAM only.
  if (ignition_) ignition_->logMode = false;
  followLogMode(nowUs);
  if (ignition_) ignition_->osciMode = false;
  followOsciMode(nowUs);
}

void Bus::followOsciMode(int64_t nowUs) {
  if (!ignition_ || ignition_->osciMode == osciStream_.active()) return;
  if (!ignition_->osciMode) {
    osciStream_.stop();
    return;
  }
  osciStream_.start(nowUs, moduleBaud_, ignition_->memory[99], ignition_->memory[100]);
}

void Bus::followLogMode(int64_t nowUs) {
  if (!ignition_ || ignition_->logMode == logStream_.active()) return;
  if (!ignition_->logMode) {
    logStream_.stop();
    return;
  }
  const std::array<uint8_t, 256>& m = ignition_->memory;
  logStream_.start(nowUs, m[0x01], m[0x02], ignition_->period);
}

void Bus::receiveAtBootloader(BootloaderModel& bl, uint8_t byte, int baudRate, int64_t nowUs) {
  // The adapter echoes at the PC's rate; the bootloader takes the byte.
  std::optional<uint8_t> echo = faults_.noEcho ? std::nullopt : std::optional<uint8_t>(byte);
  if (echo) send(*echo, baudRate);
  bl.receive(byte, nowUs);
  TranscriptEntry e;
  e.kind = TranscriptEntry::Kind::kLineByte;
  e.baudRate = baudRate;
  e.firstByteUs = e.lastByteUs = nowUs;
  e.pc = {byte};
  if (echo) e.echo = {*echo};
  transcript_.push_back(std::move(e));
}

std::optional<uint8_t> Bus::echoFor(uint8_t byte, size_t position) const {
  if (faults_.noEcho) return std::nullopt;
  const int frame = frames_ + 1;  // the frame this byte belongs to
  for (const ByteFault& d : faults_.dropEcho) {
    if (d.frame == frame && d.byteIndex == static_cast<int>(position)) return std::nullopt;
  }
  for (const ByteFault& c : faults_.corruptEcho) {
    if (c.frame == frame && c.byteIndex == static_cast<int>(position)) byte ^= kCorruptMask;
  }
  // Changing parameter 1 and the check byte alike keeps the echo a valid frame.
  if ((position == 1 || position == 3) && wrongEchoFor(faults_, frame)) byte ^= 0x01;
  return byte;
}

void Bus::receive(uint8_t byte, int baudRate, int64_t nowUs) {
  // A bootloader may have started its firmware (or announced itself) since.
  for (auto& [a, bl] : bootloaders_) {
    std::vector<uint8_t> out;
    bl->advanceTo(nowUs, out);
    send(out, bl->baud());
  }
  // A module in its bootloader hears nothing else; the others cannot make
  // sense of the bootloader's bytes, so they are not shown them.
  if (BootloaderModel* bl = activeBootloader(); bl && baudRate == bl->baud()) {
    receiveAtBootloader(*bl, byte, baudRate, nowUs);
    return;
  }
  if (baudRate != moduleBaud_) {
    // The modules cannot read a byte at another rate; a zero byte at 300 baud
    // holds the line low long enough to wake them.
    std::optional<uint8_t> echo = faults_.noEcho ? std::nullopt : std::optional<uint8_t>(byte);
    if (echo) send(*echo, baudRate);
    if (baudRate == kWakeBaud && byte == 0) {
      forEachModule([](ModuleModel& m) { m.wake(); });
    }
    TranscriptEntry e;
    e.kind = TranscriptEntry::Kind::kLineByte;
    e.baudRate = baudRate;
    e.firstByteUs = e.lastByteUs = nowUs;
    e.pc = {byte};
    if (echo) e.echo = {*echo};
    transcript_.push_back(std::move(e));
    return;
  }

  const std::optional<uint8_t> echo = echoFor(byte, assembler_.pending());
  if (echo) send(*echo, baudRate);
  partial_.push_back({byte, echo, nowUs});

  const FrameAssembler::Result r = assembler_.push(byte);
  if (r.discarded) {
    TranscriptEntry e;
    e.kind = TranscriptEntry::Kind::kDiscarded;
    e.baudRate = baudRate;
    e.firstByteUs = e.lastByteUs = partial_.front().atUs;
    e.pc = {partial_.front().byte};
    if (partial_.front().echo) e.echo = {*partial_.front().echo};
    partial_.erase(partial_.begin());
    transcript_.push_back(std::move(e));
  }
  if (r.frame) handleFrame(*r.frame, nowUs);
}

void Bus::handleFrame(const Frame& frame, int64_t nowUs) {
  const int n = ++frames_;
  for (const SilentAfter& s : faults_.silentAfter) {
    if (n <= s.afterFrame) continue;
    forEachModule([&s](ModuleModel& m) {
      if (s.address == 0 || s.address == m.address()) m.answers = false;
    });
  }

  std::vector<uint8_t> reply = dispatch(frame);
  applyByteFaults(reply, n, faults_.dropReply, faults_.corruptReply);
  send(reply, moduleBaud_);
  followLogMode(nowUs);
  followOsciMode(nowUs);
  if (frameCommand(frame) == kCmdRestart && (frame[0] & 0xF0) > 0x10) {
    BootloaderModel* bl = bootloaderAt(frameAddress(frame));
    if (bl && !bl->active()) bl->start(nowUs);
  }

  TranscriptEntry e;
  e.number = n;
  e.baudRate = moduleBaud_;
  e.firstByteUs = partial_.front().atUs;
  e.lastByteUs = nowUs;
  e.pc.assign(frame.begin(), frame.end());
  for (const PartialByte& p : partial_) {
    if (p.echo) e.echo.push_back(*p.echo);
  }
  e.reply = reply;
  transcript_.push_back(std::move(e));
  partial_.clear();

  for (const Injection& inj : faults_.injections) {
    if (inj.afterFrame == n) send(inj.bytes, moduleBaud_);
  }
}

std::vector<uint8_t> Bus::dispatch(const Frame& f) {
  if ((f[0] & 0xF0) <= 0x10) {
    switch (f[0]) {
      case kSearchBit:
      case kMarkFound:
      case kSelectSerialHigh:
      case kSelectSerialLow:
      case kResetSearch:
        return serial_.handle(f);
      case kPcSearch:
        if (pcSearchIntervalMs_ > 0 && !pcSearchDone_ && f[1] == kPcSearchAnswer[0] &&
            f[2] == kPcSearchAnswer[1]) {
          pcSearchDone_ = true;
          const Frame r = makeFrame(kPcSearch, 0x9A, 0xBC);
          return {r.begin(), r.end()};
        }
        return {};
      default:  // the tuning frame and anything unknown: the adapter's echo only
        return {};
    }
  }
  ModuleModel* m = moduleAt(frameAddress(f));
  if (!m) return {};
  // In its bootloader the module does not run the code that answers frames.
  if (BootloaderModel* bl = bootloaderAt(frameAddress(f)); bl && bl->active()) return {};
  const std::optional<Frame> r = m->handle(f);
  if (!r) return {};
  return {r->begin(), r->end()};
}

std::optional<int64_t> Bus::nextEventUs() const {
  std::optional<int64_t> next;
  auto consider = [&next](int64_t t) {
    if (!next || t < *next) next = t;
  };
  if (pcSearchIntervalMs_ > 0 && !pcSearchDone_) consider(nextPcSearchUs_);
  for (const auto& [a, bl] : bootloaders_) {
    if (auto t = bl->nextEventUs()) consider(*t);
  }
  for (size_t i = 0; i < faults_.injections.size(); ++i) {
    const Injection& inj = faults_.injections[i];
    if (inj.afterFrame <= 0 && !injected(i)) consider(inj.atMs * 1000);
  }
  if (auto t = logStream_.nextPacketUs()) consider(*t);
  if (auto t = osciStream_.nextFrameUs()) consider(*t);
  return next;
}

void Bus::advanceTo(int64_t nowUs) {
  for (std::optional<int64_t> t = nextEventUs(); t && *t <= nowUs; t = nextEventUs()) {
    for (auto& [a, bl] : bootloaders_) {
      std::vector<uint8_t> out;
      bl->advanceTo(*t, out);
      send(out, bl->baud());
    }
    if (pcSearchIntervalMs_ > 0 && !pcSearchDone_ && nextPcSearchUs_ == *t) {
      const Frame f = makeFrame(kPcSearch, 0x12, 0x34);
      send({f.begin(), f.end()}, moduleBaud_);
      nextPcSearchUs_ += static_cast<int64_t>(pcSearchIntervalMs_) * 1000;
    }
    for (size_t i = 0; i < faults_.injections.size(); ++i) {
      const Injection& inj = faults_.injections[i];
      if (inj.afterFrame <= 0 && !injected(i) && inj.atMs * 1000 == *t) {
        send(inj.bytes, moduleBaud_);
        if (injected_.size() <= i) injected_.resize(faults_.injections.size(), false);
        injected_[i] = true;
      }
    }
    if (logStream_.nextPacketUs() == *t) {
      std::vector<uint8_t> out;
      logStream_.advanceTo(*t, out);
      send(out, LogStream::kBaud);
    }
    if (osciStream_.nextFrameUs() == *t) {
      std::vector<uint8_t> out;
      osciStream_.advanceTo(*t, out);
      send(out, moduleBaud_);
    }
  }
}

uint8_t Bus::nextStreamByte() {
  if (streamPos_ == 0) {
    streamFrame_ = makeFrame(kStreamStart, static_cast<uint8_t>(streamCounter_ >> 8),
                             static_cast<uint8_t>(streamCounter_));
    ++streamCounter_;
  }
  const uint8_t b = streamFrame_[streamPos_];
  streamPos_ = (streamPos_ + 1) % 4;
  return b;
}

std::vector<TranscriptEntry> Bus::takeTranscript() {
  std::vector<TranscriptEntry> out;
  out.swap(transcript_);
  return out;
}

}  // namespace sim
