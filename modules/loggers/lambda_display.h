#pragma once

#include <cstdint>
#include <string>

#include "link/module_link.h"

// The lambda display's two brightness settings.
namespace loggers {

constexpr uint8_t kLambdaDisplayAddress = 0x60;

struct Brightness {
  int32_t day = 80;    // memory byte 2
  int32_t night = 20;  // memory byte 1
};

// 8052 with both values; the link error of the selection or version read;
// 8051 when a byte read fails. `versionText` is set once the version is read.
int32_t readBrightness(buslink::ModuleLink& link, Brightness& b, std::string& versionText);
// 8050; 8045 for a value outside 0-255 (nothing is sent); the link error of
// the selection or version read; 8048 when a write or the restart fails.
int32_t writeBrightness(buslink::ModuleLink& link, const Brightness& b, std::string& versionText);

}  // namespace loggers
