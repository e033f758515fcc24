#pragma once

#include "viewers/common/product.h"

namespace spark {

// The program's name and version: the title of its boxes, the name of its
// settings file and of its per-user folder ("Funkora V1.0.0").
inline viewers::ProductInfo funkoraProduct() {
  return {viewers::kProductFunkora, 1, 0, 0};
}

}  // namespace spark
