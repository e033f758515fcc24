#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace firmware {

// A firmware file opened for reading pieces of it: nothing but the pieces
// asked for is held, whatever the file's size.
class FileReader {
 public:
  explicit FileReader(const std::string& path);
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  bool isOpen() const { return file_ != nullptr; }
  bool seek(int64_t offset);
  // Up to `size` bytes from the present position; fewer at the end of the
  // file or on a read error.
  size_t read(uint8_t* into, size_t size);

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace firmware
