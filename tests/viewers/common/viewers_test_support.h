#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/temp_folder.h"
#include "viewers/common/viewer_messages.h"

namespace viewers_test {

// Remembers every message instead of showing it; questions get `answer`.
class RecordingMessages : public viewers::ViewerMessages {
 public:
  void show(const std::string& text, viewers::MessageIcon icon) override {
    shown.emplace_back(text, icon);
  }
  bool askYesNo(const std::string& text) override {
    shown.emplace_back(text, viewers::MessageIcon::kQuestion);
    return answer;
  }

  std::vector<std::pair<std::string, viewers::MessageIcon>> shown;
  bool answer = false;
};

using test_files::readFile;
using test_files::TempFolder;
using test_files::writeFile;

// Sets an environment variable for one test and puts it back afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = ::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace viewers_test
