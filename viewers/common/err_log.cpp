#include "viewers/common/err_log.h"

#include <utility>

#include "platform/cp1252.h"

namespace viewers {

CErrLog::CErrLog(std::string path) : path_(std::move(path)) {}

CErrLog::~CErrLog() {
  LogEnabled(false);
}

// A log left by an earlier run would mix its lines with this run's.
void CErrLog::firstUse() {
  if (used_) return;
  used_ = true;
  std::remove(path_.c_str());
}

void CErrLog::LogEnabled(bool on) {
  firstUse();
  enabled_ = on;
  if (on && file_ == nullptr) {
    // Appending: switching the log off and on again within one run keeps
    // what was written so far.
    file_ = std::fopen(path_.c_str(), "ab");
  } else if (!on && file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

void CErrLog::FunktionsName(const std::string& name) {
  firstUse();
  if (name == functionName_) return;
  functionName_ = name;
  functionNameWritten_ = false;
}

void CErrLog::AddLog(const std::string& text) {
  firstUse();
  if (!enabled_ || file_ == nullptr) return;
  // Appended piece by piece: "literal" + std::string makes GCC 12 at -O3
  // report a false -Wrestrict.
  std::string lines;
  if (!functionNameWritten_) {
    lines += platform::utf8ToCp1252(functionName_);
    lines += "\r\n";
    functionNameWritten_ = true;
  }
  lines += '\t';
  lines += platform::utf8ToCp1252(text);
  lines += "\r\n";
  std::fwrite(lines.data(), 1, lines.size(), file_);
  std::fflush(file_);
}

}  // namespace viewers
