#include "sim/module_model.h"

namespace sim {

uint32_t decimalToBcd(uint32_t number) {
  uint32_t bcd = 0;
  for (int shift = 0; shift < 32 && number != 0; shift += 4) {
    bcd |= (number % 10) << shift;
    number /= 10;
  }
  return bcd;
}

ModuleModel::ModuleModel(uint8_t address) : address_(address) {
  memory.fill(0xFF);
}

uint32_t ModuleModel::serialBcd() const {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = (v << 8) | memory[kSerialAddress + i];
  return v;
}

void ModuleModel::setSerialBcd(uint32_t bcd) {
  for (int i = 0; i < 4; ++i)
    memory[kSerialAddress + i] = static_cast<uint8_t>(bcd >> (24 - 8 * i));
}

std::optional<Frame> ModuleModel::handle(const Frame& request) {
  if (asleep) return std::nullopt;
  Frame r = dispatch(request);
  if (!answers) return std::nullopt;
  return r;
}

Frame ModuleModel::dispatch(const Frame& q) {
  const uint8_t p1 = q[1], p2 = q[2];
  switch (frameCommand(q)) {
    case kCmdTypeId:
      return word(q, typeWord);
    case kCmdVersion:
      if (p2 == 0) return word(q, firmwareVersion);
      if (p2 == 1) return word(q, requiredSoftwareVersion);
      return error(kErrorUnknownCommand);
    case kCmdReadByte:
      return readByte(q);
    case kCmdWriteByte:
      return writeByte(q);
    case kCmdStatusByte:
      if (p1 >= statusBytes.size()) return error(kErrorUnknownCommand);
      return reply(q, p1, statusBytes[p1]);
    case kCmdTestOutput:
      testOutputs[p1] = p2;
      return reply(q, p1, p2);
    case kCmdLiveValue:
      return word(q, liveValues[p1]);
    case kCmdPeriod:
      return word(q, period);
    case kCmdDisplayControl:
      displayCodes[p1] = p2;
      return reply(q, p1, p2);
    case kCmdLearnPoint:
      learnPoints.push_back(p1);
      return reply(q, p1, 0);
    case kCmdClockRegister:
      clockRegisters[p1] = p2;
      return reply(q, p1, p2);
    case kCmdSelectPage:
      page = p1;
      return reply(q, p1, 0);
    case kCmdOutputValue:
      outputValues[p1] = p2;
      return reply(q, p1, p2);
    case kCmdSpecialFunction:
      specialFunctions.emplace_back(p1, p2);
      return specialFunction(q);
    case kCmdRestart:
      ++restarts;
      onRestart();
      return reply(q, 0, 0);
    default:
      return error(kErrorUnknownCommand);
  }
}

Frame ModuleModel::readByte(const Frame& q) {
  return reply(q, q[1], memory[q[1]]);
}

Frame ModuleModel::writeByte(const Frame& q) {
  if (!readOnly[q[1]]) memory[q[1]] = q[2];
  return reply(q, q[1], memory[q[1]]);
}

Frame ModuleModel::specialFunction(const Frame& q) {
  return reply(q, q[1], q[2]);
}

}  // namespace sim
