#pragma once

#include <QComboBox>
#include <functional>

namespace shell {

// A drop-down list that reports every closing of its list, whether the user
// chose an entry, pressed Escape or clicked elsewhere; QComboBox itself only
// reports a choice.
class CloseUpComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;

  // Runs after the list has closed, with the chosen entry already current.
  std::function<void()> onCloseUp;

  void hidePopup() override;
};

}  // namespace shell
