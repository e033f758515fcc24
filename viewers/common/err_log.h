#pragma once

#include <cstdio>
#include <string>

namespace viewers {

// A diagnostic log: TAB-indented lines grouped under the name of the
// function that wrote them. Off unless switched on; while off, lines are
// dropped.
class CErrLog {
 public:
  explicit CErrLog(std::string path);
  ~CErrLog();
  CErrLog(const CErrLog&) = delete;
  CErrLog& operator=(const CErrLog&) = delete;

  void LogEnabled(bool on);
  void FunktionsName(const std::string& name);
  void AddLog(const std::string& text);

 private:
  void firstUse();

  std::string path_;
  std::FILE* file_ = nullptr;
  bool enabled_ = false;
  bool used_ = false;
  std::string functionName_;
  bool functionNameWritten_ = true;
};

}  // namespace viewers
