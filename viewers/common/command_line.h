#pragma once

#include <string>
#include <utility>
#include <vector>

#include "viewers/common/viewer_messages.h"

namespace viewers {

// The viewers' command line as named parameters ("-com 3 -zyl 4"). The text
// is split on first use; a malformed line is reported once and then yields no
// parameter at all, so a viewer never acts on half of it.
class CCommandLine {
 public:
  CCommandLine(std::string commandLine, ViewerMessages& messages);

  // The program's arguments (without the program name) joined back into one
  // line; an argument with a blank or TAB, or an empty one, is quoted so that
  // it stays one value.
  static std::string joinArguments(const std::vector<std::string>& arguments);

  bool IsOk();
  // Names compare without regard to case.
  bool ParamExists(const std::string& name);
  // The value of the first parameter of that name; empty when there is none.
  std::string ParamGet(const std::string& name);
  std::vector<std::string> ParamGetNames();

 private:
  void split();

  std::string commandLine_;
  ViewerMessages& messages_;
  bool split_ = false;
  bool ok_ = false;
  std::vector<std::pair<std::string, std::string>> params_;
};

inline constexpr const char* kTextBadParameter = "Commandline Parmeter falsch!";
inline constexpr const char* kTextMissingQuote = "Commandline Parameter falsch!";

}  // namespace viewers
