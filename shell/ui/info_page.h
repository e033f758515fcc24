#pragma once

#include "shell/ui/module_page.h"

namespace shell {

// "Info": the product name and the program version.
class InfoPage : public ModulePage {
 public:
  static constexpr int32_t kVersionText = 430;

  InfoPage();

 protected:
  QWidget* createWidget(QWidget* parent) override;
};

}  // namespace shell
