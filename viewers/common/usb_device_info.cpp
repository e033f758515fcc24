#include "viewers/common/usb_device_info.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace viewers {

namespace fs = std::filesystem;

namespace {

// One line of a sysfs attribute, without its line end.
std::string attribute(const fs::path& folder, const char* name) {
  std::ifstream in(folder / name);
  std::string line;
  std::getline(in, line);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

bool isUsbDevice(const fs::path& folder) {
  std::error_code ec;
  // Interfaces of a USB device have no idVendor; the device itself has.
  return fs::is_regular_file(folder / "idVendor", ec) &&
         fs::is_regular_file(folder / "idProduct", ec);
}

}  // namespace

std::optional<UsbDeviceInfo> usbDeviceOfTty(const std::string& sysfsRoot,
                                            const std::string& ttyName) {
  if (ttyName.empty() || ttyName.find('/') != std::string::npos || ttyName == "." ||
      ttyName == "..") {
    return std::nullopt;
  }
  std::error_code ec;
  const fs::path root = fs::canonical(sysfsRoot, ec);
  if (ec) return std::nullopt;
  fs::path folder = fs::canonical(root / "class" / "tty" / ttyName / "device", ec);
  if (ec) return std::nullopt;
  // Never leave the tree we were pointed at.
  auto inside = [&root](const fs::path& p) {
    auto [rootEnd, pathIt] = std::mismatch(root.begin(), root.end(), p.begin(), p.end());
    return rootEnd == root.end() && p != root;
  };
  for (; inside(folder); folder = folder.parent_path()) {
    if (isUsbDevice(folder)) {
      return UsbDeviceInfo{attribute(folder, "product"), attribute(folder, "manufacturer"),
                           attribute(folder, "serial")};
    }
  }
  return std::nullopt;
}

std::string ttyNameOfDevice(const std::string& devicePath) {
  std::error_code ec;
  fs::path resolved = fs::canonical(devicePath, ec);
  if (ec) return {};
  return resolved.filename().string();
}

}  // namespace viewers
