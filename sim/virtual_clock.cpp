#include "sim/virtual_clock.h"

namespace sim {

void VirtualClock::advanceToNs(int64_t ns) {
  int64_t now = ns_.load();
  while (now < ns && !ns_.compare_exchange_weak(now, ns)) {
  }
}

}  // namespace sim
