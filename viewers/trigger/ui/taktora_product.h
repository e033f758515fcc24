#pragma once

#include "viewers/common/product.h"

namespace trigger {

// The program's name and version: the title of its boxes, the name of its
// settings file and of its per-user folder ("Taktora V1.2.1").
inline viewers::ProductInfo taktoraProduct() {
  return {viewers::kProductTaktora, 1, 2, 1};
}

}  // namespace trigger
