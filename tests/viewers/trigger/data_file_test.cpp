#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "tests/viewers/common/viewers_test_support.h"
#include "viewers/trigger/datalog.h"
#include "viewers/trigger/trigger_analysis.h"
#include "viewers/trigger/trigger_data_file.h"

namespace {

using trigger::kRingSize;
using trigger::ModuleValues;
using trigger::Recording;
using viewers::MessageIcon;
using viewers_test::RecordingMessages;
using viewers_test::TempFolder;

const platform::LocalTime kWhen{2024, 1, 31, 14, 5, 9, 3};

std::string le32(int32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

std::string text(const std::string& bytes) {
  return le32(static_cast<int32_t>(bytes.size())) + bytes;
}

std::string header(const std::string& program) {
  std::string h = "DataLog         ";
  std::string p = program;
  p.resize(16, ' ');
  return h + p + text("2024.01.31 14:05:09") + text("");
}

// A recording whose sample in slot i is bit 0 of i / 7 (channel A) and of
// i / 11 (channel B), so every slot tells where it came from.
Recording patterned(int32_t count, int32_t writeIndex) {
  Recording rec;
  for (int32_t i = 0; i < kRingSize; ++i) {
    rec.channelA[static_cast<size_t>(i)] = (i / 7) % 2;
    rec.channelB[static_cast<size_t>(i)] = (i / 11) % 2;
  }
  rec.DataCount = count;
  rec.DataWrIdx = writeIndex;
  return rec;
}

ModuleValues someValues() {
  ModuleValues v;
  v.ModSerienNr = "1234567";
  v.ModVersion = "V 1.5.2";
  v.setModTypNr(3);
  v.ModZylinder = 4;
  v.ModTakte = 4;
  v.ModKwZaehne = 60;
  v.ModKwLuecke = 2;
  v.ModZylinder1 = 1;
  v.ModLeertakt = 0;
  v.ModKwGeber = 1;
  return v;
}

TEST(TriggerDataFile, NameCarriesProgramAndTime) {
  EXPECT_EQ(trigger::dataFileName("/x/", kWhen), "/x/Taktora Logfile 2024-01-31 14.05.09.dat");
}

TEST(TriggerDataFile, FileLayoutAsStoredByTheWindowsViewer) {
  TempFolder dir;
  RecordingMessages messages;
  Recording rec = patterned(1000, 1000);
  ASSERT_TRUE(trigger::saveTriggerData(dir / "a.dat", rec, someValues(), messages, kWhen));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].first, "gespeichert");
  EXPECT_EQ(messages.shown[0].second, MessageIcon::kNone);

  const std::string file = viewers_test::readFile(dir / "a.dat");
  std::string expected = header("Taktora");
  // Header description: the four ids.
  expected.erase(expected.size() - 4);
  expected += text("1=DataCount\r\n2=DataWrIdx\r\n101=Kanal A\r\n102=KanalB");
  auto nameValue = [](const std::string& n, const std::string& v) {
    return le32(301) + le32(0) + text(n) + text(v);
  };
  expected += nameValue("SerienNr", "1234567") + nameValue("ModulVersion", "V 1.5.2") +
              nameValue("ModultypNr", "3") + nameValue("Zylinder", "4") + nameValue("Takte", "4") +
              nameValue("KwGeberMode", "1") + nameValue("KwZ\xE4hne", "60") +
              nameValue(
                  "KwL\xFC"
                  "cke",
                  "2") +
              nameValue("Leertakt", "0") + nameValue("ZylViaFlg", "1");
  expected += le32(103) + le32(1) + le32(1000);
  expected += le32(103) + le32(2) + le32(1000);
  expected += le32(201) + le32(101) + le32(59999);
  expected += std::string(rec.channelA.begin(), rec.channelA.end());
  expected += le32(201) + le32(102) + le32(59999);
  expected += std::string(rec.channelB.begin(), rec.channelB.end());
  EXPECT_EQ(file.size(), expected.size());
  EXPECT_TRUE(file == expected);
}

struct RoundTrip {
  const char* name;
  int32_t count;
  int32_t writeIndex;
  int32_t storedFirst;  // slot stored first
  int32_t loadedWriteIndex;
};

TEST(TriggerDataFile, SaveAndLoadKeepRingOrder) {
  const RoundTrip cases[] = {
      {"nothing recorded", 0, 0, 0, 0},
      {"1 000 samples", 1000, 1000, 0, 1000},
      {"full ring from write index 12 345", kRingSize, 12345, 12345, 0},
  };
  for (const RoundTrip& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder dir;
    RecordingMessages messages;
    Recording rec = c.count == 0 ? Recording{} : patterned(c.count, c.writeIndex);
    ASSERT_TRUE(trigger::saveTriggerData(dir / "r.dat", rec, someValues(), messages, kWhen));

    Recording loaded = patterned(5, 5);
    ModuleValues values;
    ASSERT_TRUE(trigger::loadTriggerData(dir / "r.dat", loaded, values, messages));
    EXPECT_EQ(loaded.DataCount, c.count);
    EXPECT_EQ(loaded.DataWrIdx, c.loadedWriteIndex);
    for (int32_t i : {0, 1, 999, 47654, 47655, 59999}) {
      const size_t from = static_cast<size_t>((i + c.storedFirst) % kRingSize);
      EXPECT_EQ(loaded.channelA[static_cast<size_t>(i)], rec.channelA[from]) << i;
      EXPECT_EQ(loaded.channelB[static_cast<size_t>(i)], rec.channelB[from]) << i;
    }
    EXPECT_EQ(values.ModSerienNr, "1234567");
    EXPECT_EQ(values.ModVersion, "V 1.5.2");
    EXPECT_EQ(values.ModTypNr, 3);
    EXPECT_EQ(values.ModTyp, trigger::typeName(3));
    EXPECT_EQ(values.ModKwZaehne, 60);
    EXPECT_EQ(values.ModKwLuecke, 2);
    EXPECT_EQ(values.ModZylinder1, 1);
    EXPECT_EQ(values.ModKwGeber, 1);
  }
}

TEST(TriggerDataFile, EmptySaveLoadsAsNoData) {
  TempFolder dir;
  RecordingMessages messages;
  Recording rec;
  ASSERT_TRUE(trigger::saveTriggerData(dir / "e.dat", rec, {}, messages, kWhen));
  Recording loaded;
  ModuleValues values;
  ASSERT_TRUE(trigger::loadTriggerData(dir / "e.dat", loaded, values, messages));
  EXPECT_EQ(trigger::analyse(loaded).status, trigger::AnalysisStatus::kNoData);
}

TEST(TriggerDataFile, RefusedFilesLeaveTheRecordingAlone) {
  TempFolder dir;
  viewers_test::writeFile(dir / "other.dat", header("Funkora"));
  viewers_test::writeFile(dir / "junk.dat", "not a log at all, just text");
  viewers_test::writeFile(dir / "short.dat", "DataLog");
  struct Case {
    const char* file;
    std::string message;
  };
  const Case cases[] = {
      {"other.dat", dir / "other.dat" + "\r\nist keine Taktora-Logdatei!"},
      {"junk.dat",
       "Die Datei \"" + dir / "junk.dat" + "\" ist keine g\xC3\xBCltige DataLog-Datei!"},
      {"short.dat",
       "Die Datei \"" + dir / "short.dat" + "\" ist keine g\xC3\xBCltige DataLog-Datei!"},
      {"missing.dat", "Datei \"" + dir / "missing.dat" + "\" nicht gefunden!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    RecordingMessages messages;
    Recording rec = patterned(77, 77);
    ModuleValues values = someValues();
    EXPECT_FALSE(trigger::loadTriggerData(dir / c.file, rec, values, messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, c.message);
    EXPECT_EQ(messages.shown[0].second, MessageIcon::kError);
    EXPECT_EQ(rec.DataCount, 77);
    EXPECT_EQ(values.ModSerienNr, "1234567");
  }
  // The refusal closed the file: a good one loads next.
  RecordingMessages messages;
  Recording rec = patterned(100, 100);
  ASSERT_TRUE(trigger::saveTriggerData(dir / "good.dat", rec, someValues(), messages, kWhen));
  ModuleValues values;
  EXPECT_TRUE(trigger::loadTriggerData(dir / "good.dat", rec, values, messages));
}

TEST(TriggerDataFile, DamagedNumbersAndArraysStayInsideTheRing) {
  // A file of this program with a write index and count out of range, a
  // short channel A and a long channel B with values other than 0 and 1.
  TempFolder dir;
  std::string f = header("Taktora");
  f += le32(103) + le32(1) + le32(987654);
  f += le32(103) + le32(2) + le32(-5);
  f += le32(201) + le32(101) + le32(2) + std::string("\x01\x00\x07", 3);
  f += le32(201) + le32(102) + le32(60004) + std::string(60005, '\x02');
  viewers_test::writeFile(dir / "d.dat", f);
  RecordingMessages messages;
  Recording rec = patterned(500, 500);
  ModuleValues values;
  ASSERT_TRUE(trigger::loadTriggerData(dir / "d.dat", rec, values, messages));
  EXPECT_EQ(rec.DataCount, kRingSize);
  EXPECT_EQ(rec.DataWrIdx, 0);
  EXPECT_EQ(rec.channelA[0], 1);
  EXPECT_EQ(rec.channelA[1], 0);
  EXPECT_EQ(rec.channelA[2], 1);
  EXPECT_EQ(rec.channelA[3], 0);
  EXPECT_EQ(rec.channelB[59999], 1);
  trigger::analyse(rec);  // must stay inside the ring
}

TEST(DataLog, EveryRecordKindReadsBack) {
  TempFolder dir;
  RecordingMessages messages;
  {
    trigger::DataLog log(messages);
    ASSERT_TRUE(log.open(dir / "sub/all.datalog", "  Werkstatt  ", "Beschreibung", false, kWhen));
    EXPECT_EQ(log.programName(), "Werkstatt");
    log.writeEmpty(1);
    log.writeText(trigger::kTagText, 2,
                  "Gr\xC3\xBC\xC3\x9F"
                  "e");
    log.writeText(trigger::kTagDate, 3, "2024.01.31 14:05:09");
    log.writeInt32(4, -123456);
    log.writeFloat(5, 1.5f);
    log.writeDouble(6, -2.25);
    log.writeText(trigger::kTagText151, 7, "x");
    log.writeBytes(8, {1, 2, 255});
    log.writeInt16s(9, {-2, 300});
    log.writeInt32s(10, {70000});
    log.writeFloats(11, {0.5f, 2.0f});
    log.writeDoubles(12, {3.0});
    log.writeNameValue(13, "KwZ\xC3\xA4hne", "60");
  }
  trigger::DataLog log(messages);
  ASSERT_TRUE(log.open(dir / "sub/all.datalog", "", "", false));
  EXPECT_EQ(log.programName(), "Werkstatt");
  EXPECT_EQ(log.date(), "2024.01.31 14:05:09");
  EXPECT_EQ(log.description(), "Beschreibung");
  trigger::DataLogRecord r;
  auto next = [&](int32_t tag, int32_t id) {
    EXPECT_EQ(log.readNext(r), trigger::ReadResult::kRecord);
    EXPECT_EQ(r.tag, tag);
    EXPECT_EQ(r.id, id);
  };
  next(1, 1);
  next(2, 2);
  EXPECT_EQ(r.text,
            "Gr\xC3\xBC\xC3\x9F"
            "e");
  next(100, 3);
  next(103, 4);
  EXPECT_EQ(r.integer, -123456);
  next(104, 5);
  EXPECT_EQ(r.real, 1.5);
  next(105, 6);
  EXPECT_EQ(r.real, -2.25);
  next(151, 7);
  next(201, 8);
  EXPECT_EQ(r.bytes, (std::vector<uint8_t>{1, 2, 255}));
  next(202, 9);
  EXPECT_EQ(r.integers, (std::vector<int32_t>{-2, 300}));
  next(203, 10);
  EXPECT_EQ(r.integers, (std::vector<int32_t>{70000}));
  next(204, 11);
  EXPECT_EQ(r.reals, (std::vector<double>{0.5, 2.0}));
  next(205, 12);
  EXPECT_EQ(r.reals, (std::vector<double>{3.0}));
  next(301, 13);
  EXPECT_EQ(r.text, "KwZ\xC3\xA4hne");
  EXPECT_EQ(r.value, "60");
  EXPECT_EQ(log.readNext(r), trigger::ReadResult::kEnd);
  EXPECT_EQ(log.readNext(r), trigger::ReadResult::kEnd);
}

TEST(DataLog, SecondOpenIsRefused) {
  TempFolder dir;
  RecordingMessages messages;
  trigger::DataLog log(messages);
  ASSERT_TRUE(log.open(dir / "a.datalog", "", "", false, kWhen));
  EXPECT_FALSE(log.open(dir / "b.datalog", "", "", false, kWhen));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].first,
            "Es ist bereits eine Datei ge\xC3\xB6"
            "ffnet.");
  EXPECT_EQ(messages.shown[0].second, MessageIcon::kInformation);
  EXPECT_TRUE(log.isOpen());
}

TEST(DataLog, ForeignTextListsAreSteppedOver) {
  TempFolder dir;
  std::string f = header("Andere");
  f += le32(251) + le32(7) + le32(1) + text("eins") + text("zwei");
  f += le32(103) + le32(1) + le32(42);
  viewers_test::writeFile(dir / "t.datalog", f);
  RecordingMessages messages;
  trigger::DataLog log(messages);
  ASSERT_TRUE(log.open(dir / "t.datalog", "", "", false));
  trigger::DataLogRecord r;
  ASSERT_EQ(log.readNext(r), trigger::ReadResult::kRecord);
  EXPECT_EQ(r.tag, 251);
  EXPECT_EQ(r.id, 7);
  EXPECT_EQ(r.integer, 1);
  ASSERT_EQ(log.readNext(r), trigger::ReadResult::kRecord);
  EXPECT_EQ(r.integer, 42);
}

TEST(DataLog, CutAndForgedRecordsReadAsTheEnd) {
  const std::string cases[] = {
      le32(201) + le32(1) + le32(2000000000) + "abc",  // upper index beyond the file
      le32(201) + le32(1) + le32(-1),                  // negative upper index
      le32(2) + le32(1) + le32(-7) + "abc",            // negative text length
      le32(2) + le32(1) + le32(10) + "abc",            // text cut short
      le32(301) + le32(0) + text("SerienNr") + le32(99),
      le32(105) + le32(0) + "1234",
      le32(103) + le32(1),
      le32(103),
      std::string("\x67", 1),
  };
  for (const std::string& body : cases) {
    TempFolder dir;
    viewers_test::writeFile(dir / "c.datalog", header("X") + body);
    RecordingMessages messages;
    trigger::DataLog log(messages);
    ASSERT_TRUE(log.open(dir / "c.datalog", "", "", false));
    trigger::DataLogRecord r;
    EXPECT_EQ(log.readNext(r), trigger::ReadResult::kEnd);
  }
  // A tag nobody knows.
  TempFolder dir;
  viewers_test::writeFile(dir / "u.datalog", header("X") + le32(999) + le32(1) + le32(5));
  RecordingMessages messages;
  trigger::DataLog log(messages);
  ASSERT_TRUE(log.open(dir / "u.datalog", "", "", false));
  trigger::DataLogRecord r;
  EXPECT_EQ(log.readNext(r), trigger::ReadResult::kUnknownTag);
  EXPECT_EQ(r.integer, 0);
}

TEST(DataLog, FolderInPlaceOfTheFileCannotBeOpened) {
  TempFolder dir;
  std::filesystem::create_directories(dir / "x.datalog");
  RecordingMessages messages;
  trigger::DataLog log(messages);
  EXPECT_FALSE(log.open(dir / "x.datalog", "", "", false));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].first, "Datalogfile\r\n\"" + dir / "x.datalog" +
                                         "\"\r\nkonnte nicht ge\xC3\xB6"
                                         "ffnet werden!");
  EXPECT_FALSE(log.isOpen());
}

}  // namespace
