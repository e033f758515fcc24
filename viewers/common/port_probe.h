#pragma once

namespace viewers {

enum class PortState { kAbsent, kFree, kBusy };

// Whether COM `portNumber` exists and could be opened now. It is opened and
// closed through the same device layer, mapping and locks as every other
// link of the program; a port held by another program (or another link of
// ours) is busy, one without a usable device absent.
PortState probeComPort(int portNumber);

}  // namespace viewers
