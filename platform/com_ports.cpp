#include "platform/com_ports.h"

#include <sys/stat.h>

#include <cstdlib>

namespace platform {

std::string comLinkFolder() {
  std::string base;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home != nullptr ? home : "") + "/.config";
  }
  return base + "/ZEB/ports";
}

std::string comDevicePath(int portNumber) {
  if (portNumber < 1 || portNumber > 99) return {};
  std::string link = comLinkFolder() + "/com" + std::to_string(portNumber);
  struct stat st {};
  if (lstat(link.c_str(), &st) == 0) return link;

  struct Range {
    int firstCom;
    int count;
    const char* prefix;
  };
  static constexpr Range kRanges[] = {
      {1, 8, "/dev/ttyS"}, {9, 32, "/dev/ttyUSB"}, {41, 32, "/dev/ttyACM"}};
  for (const Range& r : kRanges) {
    if (portNumber >= r.firstCom && portNumber < r.firstCom + r.count) {
      return r.prefix + std::to_string(portNumber - r.firstCom);
    }
  }
  return {};
}

}  // namespace platform
