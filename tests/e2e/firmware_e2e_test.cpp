// "tunvexa-cli firmware update" against tunvexa-sim through a real
// pseudo-terminal: active, passive, and a module with defective firmware
// found through the firmware log.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "process_support.h"
#include "tests/firmware/firmware_file_builder.h"

using namespace e2e;
using firmware_test::Record;
using firmware_test::Section;

namespace {

constexpr uint32_t kProgramAt = 0x1000;

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

Section section(uint16_t type, uint16_t deviceId = 0xAD07, uint16_t format = 0x0200) {
  Section s;
  s.format = format;
  s.deviceId = deviceId;
  s.typeId = type;
  s.version[0] = 8;
  s.version[1] = 4;
  s.version[2] = 1;
  Record r = firmware_test::chunks(kProgramAt, 12, static_cast<uint8_t>(type));
  r.data[0] = 8;
  r.data[1] = 4;
  r.data[2] = 1;
  s.records = {r, firmware_test::chunks(0x3000, 5, 0x90)};
  return s;
}

// A bus with one ignition that has a bootloader; the flash goes to a file
// when the simulator stops.
struct UpdateBench {
  TempConfig config;
  std::string documents = config.folder() + "/Dokumente";
  std::string firmwareFolder = documents + "/ZEB/Firmware";
  std::string flash = config.folder() + "/flash.bin";
  std::string file = config.folder() + "/update.blf";

  explicit UpdateBench(const std::vector<Section>& sections) {
    setenv("XDG_DOCUMENTS_DIR", documents.c_str(), 1);
    std::filesystem::create_directories(firmwareFolder);
    std::string bytes;
    for (const Section& s : sections) bytes += firmware_test::section(s);
    std::ofstream(file, std::ios::binary) << bytes;
  }
  ~UpdateBench() { unsetenv("XDG_DOCUMENTS_DIR"); }
  std::vector<std::string> simArgs(const std::string& moduleLines) {
    const std::string scenario = config.folder() + "/bus.txt";
    std::ofstream(scenario) << "ignition\n  type 0x0800\n  firmware 0x0704\n  serial 1234567\n"
                               "  bootloader 9600\n  flash 65536 64 32\n  boot-version-at 0x1000\n"
                            << moduleLines;
    return {"--scenario", scenario, "--flash-out", flash};
  }
  bool flashHolds(const Section& s) {
    const std::string f = fileBytes(flash);
    for (const Record& r : s.records) {
      if (f.size() < r.address + r.data.size()) return false;
      if (f.compare(r.address, r.data.size(), std::string(r.data.begin(), r.data.end())) != 0)
        return false;
    }
    return true;
  }
};

Result update(int com, const std::string& args) {
  return run(binary("tunvexa-cli") + " --com " + std::to_string(com) + " firmware update " + args +
             " 2>/dev/null");
}

TEST(FirmwareEndToEnd, ActiveUpdateProgramsTheModuleAndWritesTheLog) {
  const Section s = section(0x0800);
  UpdateBench setup({section(0x0700), s});
  {
    Simulator sim(31, setup.simArgs(""));
    ASSERT_EQ(sim.readyLine(), "tunvexa-sim: COM31 ready\n");
    // Without --yes every question is answered no: nothing happens.
    Result r = update(31, setup.file);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("-> Nein"), std::string::npos) << r.out;

    r = update(31, setup.file + " --yes");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Firmware Ist: V07.04.00\nFirmware Neu: V08.04.01\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Programmierung erfolgreich beendet.\nBitte Zündung ausschalten.\n"),
              std::string::npos)
        << r.out;
  }
  EXPECT_TRUE(setup.flashHolds(s));
  const std::string log = fileBytes(setup.firmwareFolder + "/FirmwareLog.log");
  EXPECT_EQ(log.rfind("1234567\t0x0800\t7.4.0\t8.4.1\t", 0), 0u) << log;
}

TEST(FirmwareEndToEnd, PassiveUpdateOfAModuleInItsBootloader) {
  const Section s = section(0x0800, 0x1234, 0x0100);
  UpdateBench setup({s});
  {
    Simulator sim(32, setup.simArgs("  boot-defective\n  boot-id 0x1234\n"));
    ASSERT_FALSE(sim.readyLine().empty());
    const Result r = update(32, setup.file + " --yes --passive");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Software-Firmware-Nr: 17\n"), std::string::npos) << r.out;
  }
  EXPECT_TRUE(setup.flashHolds(s));
}

TEST(FirmwareEndToEnd, DefectiveModuleIsIdentifiedThroughTheFirmwareLog) {
  const Section wanted = section(0x0801);
  UpdateBench setup({section(0x0800), wanted});
  std::ofstream(setup.firmwareFolder + "/FirmwareLog.log")
      << "1234567\t0x0800\t7.4.0\t8.4.1\t01.02.2026\t10:00:00\n"
         "1234567\t0x0801\t7.4.0\t8.4.1\t02.02.2026\t11:00:00\n";
  {
    Simulator sim(33, setup.simArgs("  boot-defective\n"));
    ASSERT_FALSE(sim.readyLine().empty());
    const Result r = update(33, setup.file + " --yes --serial 1234567");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Modul mit defekter Firmware erkannt."), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("Typnummer"), std::string::npos) << "the log knew the serial number";
  }
  EXPECT_TRUE(setup.flashHolds(wanted));
}

}  // namespace
