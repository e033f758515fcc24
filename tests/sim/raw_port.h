#pragma once

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <string>

namespace sim_test {

// Puts a terminal into the raw 8N1 mode a program uses, at `baud`.
inline void setRawRate(int fd, speed_t baud) {
  termios t{};
  tcgetattr(fd, &t);
  t.c_iflag = 0;
  t.c_oflag = 0;
  t.c_lflag = 0;
  t.c_cflag = CS8 | CREAD | CLOCAL;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  cfsetispeed(&t, baud);
  cfsetospeed(&t, baud);
  tcsetattr(fd, TCSANOW, &t);
}

// Opens a COM link the way a program would: raw, 8N1, at `baud`; -1 on failure.
inline int openRawPort(const std::string& path, speed_t baud) {
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
  if (fd >= 0) setRawRate(fd, baud);
  return fd;
}

}  // namespace sim_test
