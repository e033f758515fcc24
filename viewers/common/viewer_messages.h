#pragma once

#include <string>

namespace viewers {

enum class MessageIcon { kNone, kError, kQuestion, kInformation };

// How the viewers' core talks to the user. The Qt layer shows message boxes
// titled with the product name; tests record what would have been shown.
class ViewerMessages {
 public:
  virtual ~ViewerMessages() = default;
  // A box with an OK button; lines are joined by CR LF as the texts stand.
  virtual void show(const std::string& text, MessageIcon icon) = 0;
  // A question with Yes and No; true for Yes.
  virtual bool askYesNo(const std::string& text) = 0;
};

}  // namespace viewers
