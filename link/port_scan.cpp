#include "link/port_scan.h"

namespace buslink {

namespace {
constexpr int32_t kOpenMarker = 128;
}

std::vector<int32_t> openablePorts(ModuleLink& link) {
  int32_t remembered = link.portNumber();
  if (remembered >= kOpenMarker) remembered -= kOpenMarker;
  link.close();
  std::vector<int32_t> ports;
  for (int32_t n = 1; n <= 99; ++n) {
    link.setPortNumber(n);
    if (link.openPort() == 0) {
      ports.push_back(n);
      link.close();
    }
  }
  link.setPortNumber(remembered);
  return ports;
}

}  // namespace buslink
