#include "sim/ignition_model.h"

namespace sim {

IgnitionModel::IgnitionModel() : ModuleModel(kIgnitionAddress) {
  memory = defaultMemory();
  typeWord = 0x0800;
  firmwareVersion = 0x0803;
  requiredSoftwareVersion = 0x0600;
  liveValues[0] = 120;  // temperature sensor present
  info.fill(0xFF);
}

std::array<uint8_t, 256> IgnitionModel::defaultMemory() {
  std::array<uint8_t, 256> m;
  m.fill(0xFF);   // an unprogrammed EEPROM
  m[0x01] = 4;    // cylinders
  m[0x02] = 4;    // strokes
  m[0x03] = 100;  // relative maximum temperature, raw
  m[0x04] = 25;   // charge time 2.5 ms
  m[0x05] = 180;  // limiter 9000 rpm
  m[0x06] = 0;    // Flags
  m[0x07] = 110;  // absolute maximum temperature, raw
  // The slot after the last point repeats its angle, as a write leaves it.
  const uint8_t curve1[] = {16, 5, 60, 30, 255, 30};
  const uint8_t curve2[] = {16, 0, 60, 0, 255, 0};
  for (size_t i = 0; i < sizeof curve1; ++i) {
    m[0x08 + i] = curve1[i];
    m[0x88 + i] = curve2[i];
  }
  for (int i = 0; i < 8; ++i) {
    m[0x50 + 2 * i] = i == 0 ? 0 : 255;
    m[0x51 + 2 * i] = 0;
    m[0xD0 + 2 * i] = i == 0 ? 0 : 255;
    m[0xD1 + 2 * i] = 0;
  }
  m[0x63] = 60;   // trigger wheel teeth
  m[0x64] = 2;    // missing teeth
  m[0x65] = 170;  // shift light 8500 rpm
  m[0x66] = 0;    // FlagsC
  m[0x67] = 0;    // FlagsD
  m[0x68] = 0;    // sender mode
  m[0x69] = 20;   // limiter off time
  for (int i = 0x70; i <= 0x7B; ++i) m[i] = 0;
  m[0x80] = 3;    // start sparks
  m[0x81] = 128;  // curve shift 0
  m[0x82] = 122;  // pressure sensor factor
  m[0x83] = 10;   // pressure sensor offset
  m[0x84] = 0;
  m[0x85] = 8;    // log mode
  m[0x86] = 25;   // charge time copy
  m[0x87] = 0;    // FlagsB
  m[0xE3] = 117;  // internal limiter start
  m[0xE4] = 3;    // internal limiter step
  for (int i = 0; i < 8; ++i) m[0xE5 + i] = static_cast<uint8_t>(1 << i);
  m[0xF1] = 18;
  m[kWrongPinCounter] = 0;
  m[0xF8] = 0x01;  // operating counter 300
  m[0xF9] = 0x2C;
  m[0xFC] = 0x00;  // serial number 0123456
  m[0xFD] = 0x12;
  m[0xFE] = 0x34;
  m[0xFF] = 0x56;
  return m;
}

uint8_t IgnitionModel::pinStatus() const {
  uint8_t s = 0;
  if (memory[kWrongPinCounter] >= kPinTries) s |= kPinBlocked;
  if (pin != 0) s |= kPinSet;
  if (pinGiven) s |= kPinGiven;
  return s;
}

uint8_t IgnitionModel::infoByte(uint8_t a) const {
  if (a >= kInfoSize) return 0;
  return pendingInfo_[a] ? *pendingInfo_[a] : info[a];
}

Frame IgnitionModel::readByte(const Frame& q) {
  if (infoSelected_) return reply(q, q[1], infoByte(q[1]));
  return ModuleModel::readByte(q);
}

Frame IgnitionModel::writeByte(const Frame& q) {
  // The module does not touch its EEPROM while it fires.
  if (period != 0) return error(kErrorEngineRunning);
  if (!infoSelected_) return ModuleModel::writeByte(q);
  // The area ends at 254; a byte meant for 255 has no cell to land in.
  if (q[1] < kInfoSize) {
    const size_t page = q[1] / kInfoPage;
    if (pendingPage_ != page) dropPendingInfo();
    pendingPage_ = page;
    pendingInfo_[q[1]] = q[2];
  }
  return reply(q, q[1], infoByte(q[1]));
}

Frame IgnitionModel::specialFunction(const Frame& q) {
  const uint8_t code = q[1], value = q[2];
  switch (code) {
    case kSpecialSelectInfo:
      infoSelected_ = true;
      break;
    case kSpecialLeaveInfo:
      // Bytes never committed are lost, as with the real page buffer.
      infoSelected_ = false;
      dropPendingInfo();
      break;
    case kSpecialCommitInfo:
      for (size_t i = 0; i < kInfoSize; ++i) {
        if (pendingInfo_[i]) info[i] = *pendingInfo_[i];
      }
      dropPendingInfo();
      break;
    case kSpecialPinStatus:
      return reply(q, code, pinStatus());
    case kSpecialPinHigh:
      pinHigh_ = value;
      break;
    case kSpecialPinLow: {
      if (pin == 0 || (pinStatus() & kPinBlocked)) return reply(q, code, 0);
      const uint16_t tried = static_cast<uint16_t>(pinHigh_ << 8 | value);
      if (tried == pin) {
        pinGiven = true;
        memory[kWrongPinCounter] = 0;
        return reply(q, code, 1);
      }
      if (memory[kWrongPinCounter] < 0xFF) ++memory[kWrongPinCounter];
      return reply(q, code, 0);
    }
    case kSpecialLogMode:
      if (value == kLogModeValue) logMode = true;
      break;
    case kSpecialOsciMode:
      if (value != kOsciModeValue) break;
      osciMode = true;
      return reply(q, code, 0);
    case kSpecialNewPinHigh:
      newPinHigh_ = value;
      break;
    case kSpecialNewPinLow:
      // Only someone who knows the old PIN may set a new one.
      if (pin != 0 && !pinGiven) return reply(q, code, 0);
      pin = static_cast<uint16_t>(newPinHigh_ << 8 | value);
      pinGiven = pin != 0;
      break;
    default:
      break;
  }
  return reply(q, code, value);
}

void IgnitionModel::dropPendingInfo() {
  pendingInfo_.fill(std::nullopt);
  pendingPage_.reset();
}

void IgnitionModel::onRestart() {
  infoSelected_ = false;
  dropPendingInfo();
  pinGiven = false;
  logMode = false;
  osciMode = false;
}

}  // namespace sim
