#include "viewers/common/port_list.h"

#include <string_view>

#include "platform/com_ports.h"

namespace viewers {

std::string portEntryText(const PortEntry& entry) {
  return std::string(entry.busy ? "belegt" : "frei") + ";COM" + std::to_string(entry.number) + ";" +
         entry.description + ";" + entry.version + ";" + entry.serial;
}

void describeFromUsb(PortEntry& entry, const UsbDeviceInfo& device) {
  const std::string_view adapter = kBusAdapterName;
  const std::string& product = device.product;
  if (product.compare(0, adapter.size(), adapter) == 0) {
    entry.description = std::string(adapter);
    entry.version = product.size() > adapter.size() + 1 ? product.substr(adapter.size() + 1) : "";
  } else {
    entry.description = product.empty() ? device.manufacturer : product;
    entry.version.clear();
  }
  entry.serial = device.serial;
}

std::optional<UsbDeviceInfo> usbDeviceOfComPort(int portNumber, const std::string& sysfsRoot) {
  const std::string path = platform::comDevicePath(portNumber);
  if (path.empty()) return std::nullopt;
  return usbDeviceOfTty(sysfsRoot, ttyNameOfDevice(path));
}

std::vector<PortEntry> listComPorts(const PortListSources& sources) {
  std::vector<PortEntry> ports;
  for (int n = 1; n <= 99; ++n) {
    PortState state = sources.probe ? sources.probe(n) : probeComPort(n);
    if (state == PortState::kAbsent) continue;
    PortEntry entry;
    entry.busy = state == PortState::kBusy;
    entry.number = n;
    std::optional<UsbDeviceInfo> device =
        sources.usbDevice ? sources.usbDevice(n) : usbDeviceOfComPort(n);
    if (device) describeFromUsb(entry, *device);
    ports.push_back(std::move(entry));
  }
  return ports;
}

}  // namespace viewers
