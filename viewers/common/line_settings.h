#pragma once

#include <optional>
#include <string>

namespace viewers {

// A port's line parameters as the viewers write them: "9600,n,8,1".
struct LineSettings {
  int baudRate = 9600;
  char parity = 'n';
  int dataBits = 8;
  int stopBits = 1;
};

// Empty for text that is malformed or asks for what the serial layer cannot
// do: it runs 8 data bits, no parity, 1 stop bit at its fixed baud rates.
std::optional<LineSettings> parseLineSettings(const std::string& text);

// The port number in a text such as "COM3" or "3": every "com" (any case) is
// removed, and the leading number of what stands before the first blank is
// taken. 0 when there is none ("COM 3" gives 0).
int portNumberFromText(const std::string& text);

}  // namespace viewers
