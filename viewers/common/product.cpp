#include "viewers/common/product.h"

namespace viewers {

std::string versionText(const ProductInfo& product) {
  return "V" + std::to_string(product.major) + "." + std::to_string(product.minor) + "." +
         std::to_string(product.revision);
}

}  // namespace viewers
