#pragma once

#include <QPointer>
#include <QWidget>
#include <string>

#include "viewers/common/viewer_messages.h"

namespace viewers {

// The viewers' messages as real boxes: the product name is the title, OK is
// the only button (Yes and No for a question), the icon is the message's own.
class QtViewerMessages : public ViewerMessages {
 public:
  explicit QtViewerMessages(std::string productName, QWidget* owner = nullptr);

  // The window the boxes are centred on; the main window once it exists.
  void setOwner(QWidget* owner) { owner_ = owner; }

  void show(const std::string& text, MessageIcon icon) override;
  bool askYesNo(const std::string& text) override;

 private:
  std::string productName_;
  QPointer<QWidget> owner_;
};

// The texts join their lines with CR LF as the Windows boxes want them; a Qt
// box breaks at LF alone and would show the CR.
QString messageText(const std::string& text);

}  // namespace viewers
