#include "viewers/common/command_line.h"

#include <algorithm>
#include <cctype>

namespace viewers {

namespace {

bool isGap(char c) {
  return c == ' ' || c == '\t';
}

bool sameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

CCommandLine::CCommandLine(std::string commandLine, ViewerMessages& messages)
    : commandLine_(std::move(commandLine)), messages_(messages) {}

std::string CCommandLine::joinArguments(const std::vector<std::string>& arguments) {
  std::string line;
  for (const std::string& argument : arguments) {
    if (!line.empty()) line += ' ';
    bool quote = argument.empty() || argument.find_first_of(" \t") != std::string::npos;
    line += quote ? "\"" + argument + "\"" : argument;
  }
  return line;
}

void CCommandLine::split() {
  if (split_) return;
  split_ = true;
  // Only blanks are trimmed, as the line always was; a TAB at either end is
  // a separator like any other.
  size_t first = commandLine_.find_first_not_of(' ');
  if (first == std::string::npos) {
    ok_ = true;
    return;
  }
  size_t last = commandLine_.find_last_not_of(' ');
  const std::string text = commandLine_.substr(first, last - first + 1) + " ";

  auto fail = [this](const std::string& message) {
    params_.clear();
    messages_.show(message, MessageIcon::kError);
  };
  auto skipGaps = [&text](size_t pos) {
    while (pos < text.size() && isGap(text[pos])) ++pos;
    return pos;
  };

  size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] != '-') return fail(std::string(kTextBadParameter) + "\r\n" + text.substr(pos));
    size_t nameEnd = text.find_first_of(" \t", pos);
    if (nameEnd == pos + 1) {
      return fail(std::string(kTextBadParameter) + "\r\n" + text.substr(pos));
    }
    std::string name = text.substr(pos + 1, nameEnd - pos - 1);
    pos = skipGaps(nameEnd);
    std::string value;
    if (pos < text.size() && text[pos] != '-') {
      size_t end;
      if (text[pos] == '"') {
        size_t close = text.find('"', pos + 1);
        if (close == std::string::npos) {
          return fail(std::string(kTextMissingQuote) + "\r\n\" fehlt!");
        }
        value = text.substr(pos + 1, close - pos - 1);
        end = close + 1;
      } else {
        end = text.find_first_of(" \t", pos);
        value = text.substr(pos, end - pos);
      }
      pos = end;
    }
    params_.emplace_back(std::move(name), std::move(value));
    pos = skipGaps(pos);
  }
  ok_ = true;
}

bool CCommandLine::IsOk() {
  split();
  return ok_;
}

bool CCommandLine::ParamExists(const std::string& name) {
  split();
  return std::any_of(params_.begin(), params_.end(),
                     [&name](const auto& p) { return sameName(p.first, name); });
}

std::string CCommandLine::ParamGet(const std::string& name) {
  split();
  for (const auto& [paramName, value] : params_) {
    if (sameName(paramName, name)) return value;
  }
  return {};
}

std::vector<std::string> CCommandLine::ParamGetNames() {
  split();
  std::vector<std::string> names;
  for (const auto& p : params_) names.push_back(p.first);
  return names;
}

}  // namespace viewers
