#include "firmware/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <limits>

namespace firmware {

namespace {

// Only a plain file counts: a FIFO or a terminal named as a firmware file
// would block the load for good. Opened without blocking so that not even
// the open of a FIFO waits for a writer.
std::FILE* openPlainFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
      ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    ::close(fd);
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, "rb");
  if (file == nullptr) ::close(fd);
  return file;
}

}  // namespace

FileReader::FileReader(const std::string& path) : file_(openPlainFile(path)) {}

FileReader::~FileReader() {
  if (file_ != nullptr) std::fclose(file_);
}

bool FileReader::seek(int64_t offset) {
  if (file_ == nullptr || offset < 0 || offset > std::numeric_limits<off_t>::max()) return false;
  return ::fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0;
}

size_t FileReader::read(uint8_t* into, size_t size) {
  if (file_ == nullptr) return 0;
  size_t got = 0;
  while (got < size) {
    const size_t n = std::fread(into + got, 1, size - got, file_);
    if (n == 0) break;
    got += n;
  }
  return got;
}

}  // namespace firmware
