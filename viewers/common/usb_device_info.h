#pragma once

#include <optional>
#include <string>

namespace viewers {

// What the kernel knows of the USB device behind a serial port.
struct UsbDeviceInfo {
  std::string product;
  std::string manufacturer;
  std::string serial;
};

// The USB device of the tty `ttyName` (for example "ttyUSB0"), found by
// walking up from <sysfsRoot>/class/tty/<ttyName>/device to the first folder
// that describes a USB device. Empty for a port that is no USB device.
// `sysfsRoot` is "/sys" except in tests.
std::optional<UsbDeviceInfo> usbDeviceOfTty(const std::string& sysfsRoot,
                                            const std::string& ttyName);

// The tty name behind a device path, following links ("/dev/ttyUSB0", or a
// COM link to it, gives "ttyUSB0"); empty when the path does not resolve.
std::string ttyNameOfDevice(const std::string& devicePath);

}  // namespace viewers
