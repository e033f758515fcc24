#pragma once

#include <string>

#include "viewers/common/viewer_messages.h"

namespace trigger {

// The viewer's boxes; a few carry their own title in place of the
// product name ("SignalAnalysieren", "TextfileLaden").
class TriggerMessages : public viewers::ViewerMessages {
 public:
  virtual void showTitled(const std::string& title, const std::string& text,
                          viewers::MessageIcon icon) = 0;
};

}  // namespace trigger
