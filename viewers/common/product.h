#pragma once

#include <string>

namespace viewers {

// The product names double as the title of every message box and as the
// names of the settings file and the per-user folder.
inline constexpr const char* kProductTaktora = "Taktora";
inline constexpr const char* kProductFunkora = "Funkora";

struct ProductInfo {
  std::string name;
  int major = 0;
  int minor = 0;
  int revision = 0;
};

// "V" + major.minor.revision without leading zeros: 1.02.0001 -> "V1.2.1".
std::string versionText(const ProductInfo& product);

}  // namespace viewers
