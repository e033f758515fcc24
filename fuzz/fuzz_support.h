#pragma once

#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

// What every fuzz target shares: a private folder for the files it writes,
// the user's folders moved into it, and a check that stops the run.
namespace fuzz_support {

// A fault the fuzzer must report: printed, then abort() so that libFuzzer
// keeps the input as a crash.
[[noreturn]] inline void fail(const char* what, const std::string& detail = {}) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  if (!detail.empty()) std::fprintf(stderr, "%s\n", detail.c_str());
  std::abort();
}

#define FUZZ_CHECK(condition, ...) \
  ((condition) ? (void)0 : ::fuzz_support::fail(#condition __VA_OPT__(, ) __VA_ARGS__))

// Bytes as C-escaped text, for messages.
inline std::string escaped(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  return out;
}

// Where two texts part: the first line (counted from 1) that differs in both.
inline std::string firstDifference(std::string_view a, std::string_view b) {
  size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  const size_t lineStart = a.substr(0, at).rfind('\n') + 1;  // npos + 1 == 0
  const size_t line = static_cast<size_t>(std::count(a.begin(), a.begin() + at, '\n')) + 1;
  auto lineOf = [lineStart](std::string_view t) {
    std::string_view rest = t.substr(std::min(lineStart, t.size()));
    return rest.substr(0, rest.find('\n'));
  };
  return "line " + std::to_string(line) + ":\n  first:  " + escaped(lineOf(a)) +
         "\n  second: " + escaped(lineOf(b));
}

inline std::string& folderSlot() {
  static std::string folder;
  return folder;
}

// The run's private folder, made with mkdtemp below the system's temporary
// folder ($TMPDIR) and removed when the run ends normally.
inline const std::string& privateFolder() {
  std::string& folder = folderSlot();
  if (folder.empty()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tunvexa-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) fail("mkdtemp");
    folder = pattern;
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(folderSlot(), ignored);
    });
  }
  return folder;
}

inline std::string inFolder(const std::string& name) {
  return privateFolder() + "/" + name;
}

// Called from LLVMFuzzerInitialize: HOME and the XDG folders lead into the
// private folder, so that nothing the code under test does by itself
// (settings, COM links, documents) reaches the user's real folders. The
// working folder stays: libFuzzer reads its corpus and writes its findings
// there.
inline void isolateUserFolders() {
  const std::string home = inFolder("home");
  std::filesystem::create_directories(home + "/.config");
  std::filesystem::create_directories(home + "/Documents");
  ::setenv("HOME", home.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
  ::setenv("XDG_DOCUMENTS_DIR", (home + "/Documents").c_str(), 1);
}

inline void writeFile(const std::string& path, std::string_view bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) fail("cannot write a fuzz input file", path);
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Empties `folder` (and makes it when it is missing), so that one input
// never sees the files of another.
inline void freshFolder(const std::string& folder) {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::create_directories(folder);
}

inline std::string_view asText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace fuzz_support
