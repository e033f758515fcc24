#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "viewers/common/viewer_messages.h"

namespace trigger {

// Record tags of a DataLog file.
enum DataLogTag : int32_t {
  kTagEnd = 0,
  kTagEmpty = 1,
  kTagText = 2,
  kTagDate = 100,
  kTagInt32 = 103,
  kTagFloat = 104,
  kTagDouble = 105,
  kTagText151 = 151,
  kTagBytes = 201,
  kTagInt16s = 202,
  kTagInt32s = 203,
  kTagFloats = 204,
  kTagDoubles = 205,
  kTagTexts = 251,
  kTagNameValue = 301,
};

// One record as read: which members hold its value depends on the tag.
struct DataLogRecord {
  int32_t tag = 0;
  int32_t id = 0;
  std::string text;               // 2, 100, 151; the name of 301
  std::string value;              // the value of 301
  int64_t integer = 0;            // 103; the upper index of 251
  double real = 0.0;              // 104, 105
  std::vector<uint8_t> bytes;     // 201
  std::vector<int32_t> integers;  // 202, 203
  std::vector<double> reals;      // 204, 205
};

enum class ReadResult { kRecord = 0, kEnd = 1, kUnknownTag = 2 };

// "yyyy.MM.dd hh:mm:ss"
std::string dataLogDate(const platform::LocalTime& t);

// A general record file: a header (the tag "DataLog", the writing program,
// a date and a description) followed by tagged records, little-endian, texts
// in Windows-1252. One file is open at a time.
//
// Reading never goes beyond the file: a record that does not fit in what is
// left (a cut file, a length that is negative or larger than the file)
// reads as the end, as reading past the end does.
class DataLog {
 public:
  explicit DataLog(viewers::ViewerMessages& messages) : messages_(messages) {}
  ~DataLog() { close(); }
  DataLog(const DataLog&) = delete;
  DataLog& operator=(const DataLog&) = delete;

  // Creates the file (and its folders) with a header, or opens an existing
  // one and reads its header. Failures are told to the user.
  bool open(const std::string& path, const std::string& programName, const std::string& description,
            bool replace, const platform::LocalTime& now = platform::localTime());
  void close();
  bool isOpen() const { return file_ != nullptr; }

  const std::string& programName() const { return programName_; }
  const std::string& date() const { return date_; }
  const std::string& description() const { return description_; }

  void writeEmpty(int32_t id);
  void writeText(int32_t tag, int32_t id, const std::string& text);  // 2, 100, 151
  void writeInt32(int32_t id, int32_t value);
  void writeFloat(int32_t id, float value);
  void writeDouble(int32_t id, double value);
  void writeBytes(int32_t id, const std::vector<uint8_t>& values);
  void writeInt16s(int32_t id, const std::vector<int16_t>& values);
  void writeInt32s(int32_t id, const std::vector<int32_t>& values);
  void writeFloats(int32_t id, const std::vector<float>& values);
  void writeDoubles(int32_t id, const std::vector<double>& values);
  void writeNameValue(int32_t id, const std::string& name, const std::string& value);

  ReadResult readNext(DataLogRecord& record);

 private:
  bool readHeader();
  bool writeHeader(const std::string& programName, const std::string& description,
                   const platform::LocalTime& now);
  void fail(const char* text, const std::string& path);
  void append(const std::string& bytes);
  bool take(void* out, size_t count);
  bool takeText(std::string& text);
  bool takeUpperIndex(int32_t& upper, size_t elementSize, size_t& count);

  viewers::ViewerMessages& messages_;
  std::FILE* file_ = nullptr;
  long size_ = 0;
  long readPos_ = 0;
  std::string programName_;
  std::string date_;
  std::string description_;
};

}  // namespace trigger
