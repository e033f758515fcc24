// The module settings files' reader (shell/tagged_file.h). The input is a
// small script of reader operations followed by the file itself:
//   byte 0        number of operations n (low 4 bits)
//   bytes 1..n    one operation each (low 3 bits: which, high 5 bits: its argument)
//   the rest      the file's bytes
// Checked: the reader's rules about when it closes, that every operation on
// a closed reader returns 1, the limits of a text read, and that a text
// read back after TaggedWriter wrote it is the same text.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "platform/cp1252.h"
#include "shell/tagged_file.h"

using fuzz_support::inFolder;
using shell::TaggedReader;
using shell::TaggedWriter;

namespace {

constexpr std::string_view kTags[] = {"[Zuendung]", "[FileVersion]", "[Kennlinie]", "[",
                                      "",           "[Helligkeit]",  "[\xC3\xA4]",  "0x"};
constexpr size_t kSizes[] = {0, 1, 2, 25, 256, 299, 300, 1000};

// A line the writer writes must come back unchanged as one text.
void checkWriterRoundTrip(const std::string& text) {
  const std::string path = inFolder("tagged/written");
  TaggedWriter writer(std::fopen(path.c_str(), "wb"));
  FUZZ_CHECK(writer.isOpen(), "cannot open the writer's file");
  writer.writeLine(text);
  FUZZ_CHECK(writer.close() == 0, "the writer failed");
  TaggedReader reader(std::fopen(path.c_str(), "rb"));
  std::string back;
  FUZZ_CHECK(reader.readText(back, TaggedReader::kLineLength + 1) == 0, "written line not read");
  FUZZ_CHECK(back == text, "a written line reads back differently: '" + text + "'");
}

void runOperation(TaggedReader& reader, uint8_t op) {
  const bool wasOpen = reader.isOpen();
  const unsigned argument = op >> 3;
  int32_t result = 0;
  bool valueRead = true;  // a value reader: closes the file when it fails
  switch (op & 7) {
    case 0:
    case 7:
      result = reader.seekTag(kTags[argument & 7], static_cast<int>(argument & 8));
      valueRead = false;
      FUZZ_CHECK(reader.isOpen() == wasOpen, "a tag search closed or opened the reader");
      break;
    case 1:
      result = reader.expectTag(kTags[argument & 7]);
      break;
    case 2: {
      int32_t value = 0;
      result = reader.readInt(value);
      break;
    }
    case 3: {
      uint8_t value = 0;
      result = reader.readByteValue(value);
      break;
    }
    case 4: {
      float value = 0;
      result = reader.readFloat(value);
      break;
    }
    case 5: {
      const size_t size = kSizes[argument & 7];
      std::string text = "unchanged";
      result = reader.readText(text, size);
      if (result == 0) {
        const std::string raw = platform::utf8ToCp1252(text);
        FUZZ_CHECK(raw.size() <= (size > 0 ? size - 1 : 0), "text longer than its buffer");
        FUZZ_CHECK(raw.size() <= TaggedReader::kLineLength, "text longer than a line");
        // A line feed always ends a line; a CR is kept only inside a line,
        // so one at the end is left only by cutting the line to the buffer.
        FUZZ_CHECK(raw.find('\n') == std::string::npos, "text keeps a line feed");
        FUZZ_CHECK(raw.empty() || raw.back() != '\r' || raw.size() + 1 == size,
                   "text keeps its line end");
        if (size > TaggedReader::kLineLength) checkWriterRoundTrip(text);
      }
      break;
    }
    case 6:
      reader.closeAndReturn(static_cast<int32_t>(argument));
      FUZZ_CHECK(!reader.isOpen(), "closeAndReturn left the reader open");
      return;
  }
  if (!wasOpen) FUZZ_CHECK(result == 1, "an operation on a closed reader did not return 1");
  FUZZ_CHECK(result == 0 || result == 1, "a reader operation returned neither 0 nor 1");
  if (valueRead) {
    FUZZ_CHECK(reader.isOpen() == (result == 0), "a value reader's result and state disagree");
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::isolateUserFolders();
  fuzz_support::freshFolder(inFolder("tagged"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t count = data[0] & 0x0F;
  const size_t ops = std::min(count, size - 1);
  const std::string path = inFolder("tagged/input");
  fuzz_support::writeFile(path, fuzz_support::asText(data + 1 + ops, size - 1 - ops));
  TaggedReader reader(std::fopen(path.c_str(), "rb"));
  FUZZ_CHECK(reader.isOpen(), "cannot open the input file");
  for (size_t i = 0; i < ops; ++i) runOperation(reader, data[1 + i]);
  // Whatever is left is read line by line, as the loaders do.
  for (int line = 0; line < 64 && reader.isOpen(); ++line) {
    runOperation(reader, 5 | (6 << 3));
  }
  return 0;
}
