#include "viewers/common/port_list.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/termios_device.h"
#include "viewers_test_support.h"

namespace {

namespace fs = std::filesystem;
using viewers::PortEntry;
using viewers::PortState;
using viewers::UsbDeviceInfo;

struct DescribeCase {
  UsbDeviceInfo device;
  const char* description;
  const char* version;
};

TEST(PortList, DescriptionOfTheBusAdapterAndOfOtherDevices) {
  const DescribeCase cases[] = {
      {{"ZEB KOM-Adapter V2.1", "FTDI", "ZEB00042"}, "ZEB KOM-Adapter", "V2.1"},
      {{"ZEB KOM-Adapter", "FTDI", "ZEB00043"}, "ZEB KOM-Adapter", ""},
      {{"FT232R USB UART", "FTDI", "A50285BI"}, "FT232R USB UART", ""},
      {{"", "Prolific", ""}, "Prolific", ""},
  };
  for (const DescribeCase& c : cases) {
    PortEntry entry{false, 5, {}, {}, {}};
    viewers::describeFromUsb(entry, c.device);
    EXPECT_EQ(entry.description, c.description) << c.device.product;
    EXPECT_EQ(entry.version, c.version) << c.device.product;
    EXPECT_EQ(entry.serial, c.device.serial);
  }
}

TEST(PortList, EntriesInPortOrderWithFiveFields) {
  const std::map<int, PortState> states{
      {1, PortState::kBusy}, {5, PortState::kFree}, {7, PortState::kFree}, {99, PortState::kFree}};
  viewers::PortListSources sources;
  sources.probe = [&states](int n) {
    auto it = states.find(n);
    return it == states.end() ? PortState::kAbsent : it->second;
  };
  sources.usbDevice = [](int n) -> std::optional<UsbDeviceInfo> {
    if (n == 5) return UsbDeviceInfo{"ZEB KOM-Adapter T", "FTDI", "ZEB00042"};
    if (n == 7) return UsbDeviceInfo{"FT232R USB UART", "FTDI", "A50285BI"};
    return std::nullopt;
  };
  std::vector<std::string> texts;
  for (const PortEntry& entry : viewers::listComPorts(sources)) {
    texts.push_back(viewers::portEntryText(entry));
  }
  EXPECT_EQ(texts,
            (std::vector<std::string>{"belegt;COM1;;;", "frei;COM5;ZEB KOM-Adapter;T;ZEB00042",
                                      "frei;COM7;FT232R USB UART;;A50285BI", "frei;COM99;;;"}));
}

// A sysfs tree as the kernel lays it out for a USB serial adapter and an
// on-board port.
class FakeSysfs : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string usb = tmp / "sys/devices/pci0000:00/0000:00:14.0/usb1/1-2";
    viewers_test::writeFile(usb + "/idVendor", "0403\n");
    viewers_test::writeFile(usb + "/idProduct", "6001\n");
    viewers_test::writeFile(usb + "/product", "ZEB KOM-Adapter V2.1\n");
    viewers_test::writeFile(usb + "/manufacturer", "FTDI\n");
    viewers_test::writeFile(usb + "/serial", "ZEB00042\n");
    const std::string port = usb + "/1-2:1.0/ttyUSB0";
    fs::create_directories(port + "/tty/ttyUSB0");
    fs::create_directories(tmp / "sys/class/tty");
    fs::create_directory_symlink(port + "/tty/ttyUSB0", tmp / "sys/class/tty/ttyUSB0");
    fs::create_directory_symlink(port, port + "/tty/ttyUSB0/device");

    const std::string serial8250 = tmp / "sys/devices/platform/serial8250/tty/ttyS0";
    fs::create_directories(serial8250);
    fs::create_directory_symlink(serial8250, tmp / "sys/class/tty/ttyS0");
    fs::create_directory_symlink(tmp / "sys/devices/platform/serial8250", serial8250 + "/device");
    fs::create_directories(tmp / "sys/class/tty/tty1");  // a console: no device
  }

  viewers_test::TempFolder tmp;
};

TEST_F(FakeSysfs, UsbDeviceFoundByWalkingUpFromTheTty) {
  auto device = viewers::usbDeviceOfTty(tmp / "sys", "ttyUSB0");
  ASSERT_TRUE(device.has_value());
  EXPECT_EQ(device->product, "ZEB KOM-Adapter V2.1");
  EXPECT_EQ(device->manufacturer, "FTDI");
  EXPECT_EQ(device->serial, "ZEB00042");
  for (const char* name : {"ttyS0", "tty1", "ttyUSB9", "", "..", "../class"}) {
    EXPECT_FALSE(viewers::usbDeviceOfTty(tmp / "sys", name).has_value()) << name;
  }
}

TEST_F(FakeSysfs, ComPortLinkLeadsToItsUsbDevice) {
  viewers_test::ScopedEnv config("XDG_CONFIG_HOME", tmp / "config");
  viewers_test::writeFile(tmp / "dev/ttyUSB0", "");
  fs::create_directories(tmp / "config/ZEB/ports");
  fs::create_symlink(tmp / "dev/ttyUSB0", tmp / "config/ZEB/ports/com80");
  auto device = viewers::usbDeviceOfComPort(80, tmp / "sys");
  ASSERT_TRUE(device.has_value());
  EXPECT_EQ(device->serial, "ZEB00042");
  EXPECT_FALSE(viewers::usbDeviceOfComPort(81, tmp / "sys").has_value());
}

// Ports on pseudo-terminals linked as COM numbers, as the simulator offers
// them: free, held by another link, and links that lead nowhere.
TEST(PortProbe, FreeBusyAndAbsentThroughTheSerialLayer) {
  viewers_test::TempFolder tmp;
  viewers_test::ScopedEnv config("XDG_CONFIG_HOME", tmp / "config");
  const std::string links = tmp / "config/ZEB/ports";
  fs::create_directories(links);
  int master = -1, slave = -1;
  char name[256];
  ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
  ::close(slave);
  fs::create_symlink(name, links + "/com81");
  fs::create_symlink(tmp / "nirgends", links + "/com82");
  viewers_test::writeFile(tmp / "datei", "");
  fs::create_symlink(tmp / "datei", links + "/com83");

  EXPECT_EQ(viewers::probeComPort(81), PortState::kFree);
  EXPECT_EQ(viewers::probeComPort(82), PortState::kAbsent);
  EXPECT_EQ(viewers::probeComPort(83), PortState::kAbsent);
  EXPECT_EQ(viewers::probeComPort(84), PortState::kAbsent);
  {
    platform::TermiosDevice holder;
    ASSERT_TRUE(holder.openDevice(81));
    EXPECT_EQ(viewers::probeComPort(81), PortState::kBusy);
    // The probe must not have taken the port from its holder.
    EXPECT_TRUE(holder.isOpen());
  }
  EXPECT_EQ(viewers::probeComPort(81), PortState::kFree);

  viewers::PortListSources sources;
  sources.usbDevice = [](int) { return std::nullopt; };
  bool listed = false;
  for (const PortEntry& entry : viewers::listComPorts(sources)) {
    EXPECT_NE(entry.number, 82);
    EXPECT_NE(entry.number, 83);
    if (entry.number == 81) listed = viewers::portEntryText(entry) == "frei;COM81;;;";
  }
  EXPECT_TRUE(listed);
  ::close(master);
}

}  // namespace
