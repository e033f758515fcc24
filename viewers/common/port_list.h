#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "viewers/common/port_probe.h"
#include "viewers/common/usb_device_info.h"

namespace viewers {

// The description prefix of the maker's bus adapter; what follows it after a
// blank is the adapter's version.
inline constexpr const char* kBusAdapterName = "ZEB KOM-Adapter";

// One port of the PC as the port list shows it.
struct PortEntry {
  bool busy = false;
  int number = 0;
  std::string description;
  std::string version;
  std::string serial;
};

// The five fields "frei;COM3;ZEB KOM-Adapter;V1.0;A1B2C3" of the list.
std::string portEntryText(const PortEntry& entry);

// Fills description, version and serial number from a USB device: the bus
// adapter shows its name and, from the 17th character of the product text
// on, its version; any other device its whole product text (or, lacking
// one, its maker) and no version.
void describeFromUsb(PortEntry& entry, const UsbDeviceInfo& device);

struct PortListSources {
  std::function<PortState(int)> probe = probeComPort;
  // The USB device behind a COM number, if any.
  std::function<std::optional<UsbDeviceInfo>(int)> usbDevice;
};

// The USB device behind COM n on this machine (sysfs below `sysfsRoot`).
std::optional<UsbDeviceInfo> usbDeviceOfComPort(int portNumber,
                                                const std::string& sysfsRoot = "/sys");

// COM1 to COM99 in order, each that exists, free or busy, with its device.
std::vector<PortEntry> listComPorts(const PortListSources& sources = {});

}  // namespace viewers
