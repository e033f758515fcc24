#pragma once

#include <string>

namespace platform {

// Folder of the user's COM links: $XDG_CONFIG_HOME/ZEB/ports (default
// ~/.config/ZEB/ports), without a trailing slash.
std::string comLinkFolder();

// The device behind COM n (1-99): the link comN in comLinkFolder() when it
// exists, else the machine's device by a fixed numbering (ttyS0-7 -> COM1-8,
// ttyUSB0-31 -> COM9-40, ttyACM0-31 -> COM41-72). Empty when n has no device.
std::string comDevicePath(int portNumber);

}  // namespace platform
