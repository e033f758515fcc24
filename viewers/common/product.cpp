#include "viewers/common/product.h"

namespace viewers {

std::string versionText(const ProductInfo& product) {
  // Appended piece by piece: "literal" + std::string makes GCC 12 at -O3
  // report a false -Wrestrict.
  std::string text = "V";
  text += std::to_string(product.major);
  text += '.';
  text += std::to_string(product.minor);
  text += '.';
  text += std::to_string(product.revision);
  return text;
}

}  // namespace viewers
