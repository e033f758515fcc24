#pragma once

#include "viewers/common/ui/qt_viewer_messages.h"
#include "viewers/trigger/trigger_messages.h"

namespace trigger {

// The viewer's boxes on screen.
class QtTriggerMessages : public TriggerMessages {
 public:
  explicit QtTriggerMessages(std::string productName) : boxes_(std::move(productName)) {}

  void setOwner(QWidget* owner) {
    owner_ = owner;
    boxes_.setOwner(owner);
  }
  void show(const std::string& text, viewers::MessageIcon icon) override {
    boxes_.show(text, icon);
  }
  bool askYesNo(const std::string& text) override { return boxes_.askYesNo(text); }
  void showTitled(const std::string& title, const std::string& text,
                  viewers::MessageIcon icon) override;

 private:
  viewers::QtViewerMessages boxes_;
  QPointer<QWidget> owner_;
};

}  // namespace trigger
