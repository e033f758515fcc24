#include "viewers/common/config.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

#include "viewers/common/xml_latin1.h"

namespace viewers {

namespace {

constexpr const char* kRoot = "Config";

std::vector<std::string> pathParts(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '/' || c == '\\') {
      // An empty part (a doubled or trailing separator) names nothing.
      if (!part.empty()) parts.push_back(std::move(part));
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(std::move(part));
  return parts;
}

// The first element in document order below `node` along `parts`, looking
// at every element of each name, not only the first.
pugi::xml_node findAnywhere(pugi::xml_node node, const std::vector<std::string>& parts,
                            size_t depth) {
  if (depth == parts.size()) return node;
  for (pugi::xml_node child : node.children(parts[depth].c_str())) {
    pugi::xml_node found = findAnywhere(child, parts, depth + 1);
    if (found) return found;
  }
  return {};
}

bool exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

std::string readWholeFile(const std::string& path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ok = static_cast<bool>(in) || in.eof();
  return bytes;
}

// Written beside the file and renamed over it, so that a full disk or a
// crash never leaves half a settings file.
bool writeFileSafely(const std::string& path, const std::string& bytes) {
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) {
    // A file without any write permission is read-only for us too, even when
    // we run as root, as the read-only attribute was on Windows.
    if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0) return false;
    if (access(path.c_str(), W_OK) != 0) return false;
  }
  const std::string temporary = path + ".tmp";
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  bool ok = done == bytes.size() && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok && st.st_mode != 0) ::chmod(temporary.c_str(), st.st_mode & 07777);
  if (!ok || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

bool sameTextNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

CConfig::CConfig(ProductInfo product, ViewerFolders folders, ViewerMessages& messages)
    : product_(std::move(product)), folders_(std::move(folders)), messages_(messages) {}

CConfig::~CConfig() {
  if (opened_) SaveCfg();
}

bool CConfig::ready() {
  if (opened_) return true;
  if (!noFileWarned_) {
    noFileWarned_ = true;
    messages_.show(kTextNoXmlFile, MessageIcon::kError);
  }
  return false;
}

void CConfig::newDocument() {
  document_.reset();
  pugi::xml_node declaration = document_.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "iso-8859-1";
  document_.append_child(kRoot);
}

bool CConfig::load() {
  bool read = false;
  const std::string bytes = readWholeFile(fileName_, read);
  if (!read) return false;
  // A file that claims UTF-8 (or claims nothing) but is not, was written or
  // edited by hand as 8-bit text; read as Latin-1, its umlauts survive.
  const auto byte = [&bytes](size_t i) { return static_cast<uint8_t>(bytes[i]); };
  const bool wide =
      bytes.size() >= 2 && (byte(0) == 0 || byte(1) == 0 || (byte(0) == 0xFE && byte(1) == 0xFF) ||
                            (byte(0) == 0xFF && byte(1) == 0xFE));
  const pugi::xml_encoding encoding =
      !wide && !isValidUtf8(bytes) ? pugi::encoding_latin1 : pugi::encoding_auto;
  pugi::xml_document document;
  pugi::xml_parse_result result = document.load_buffer(
      bytes.data(), bytes.size(),
      pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single, encoding);
  if (!result) return false;
  // Only a settings document will do: one root element, named "Config".
  int elements = 0;
  for (pugi::xml_node child : document.children()) {
    if (child.type() == pugi::node_element) ++elements;
  }
  if (elements != 1 || std::string_view(document.document_element().name()) != kRoot) {
    return false;
  }
  document_.reset(document);
  return true;
}

bool CConfig::SetXMLFile(const std::string& file, bool save) {
  if (product_.name.empty()) {
    messages_.show(kTextNoProductName, MessageIcon::kError);
    return false;
  }
  if (opened_) SaveCfg();
  if (!file.empty()) {
    fileName_ = file;
  } else {
    const std::string leaf = product_.name + ".xml";
    const std::string base = applicationDataBase(folders_, product_);
    fileName_ = base + leaf;
    const std::string shared = applicationDataBase(folders_, product_, true);
    if (!exists(fileName_) && shared != base && exists(shared + leaf)) {
      std::error_code ignored;
      std::filesystem::copy_file(shared + leaf, fileName_, ignored);
    }
  }
  save_ = save;
  opened_ = true;
  loadFailed_ = false;
  if (exists(fileName_)) {
    if (load()) return true;
    for (int n = 1; n <= 999; ++n) {
      char suffix[8];
      std::snprintf(suffix, sizeof suffix, ".%03d", n);
      const std::string aside = fileName_ + suffix;
      if (exists(aside)) continue;
      std::rename(fileName_.c_str(), aside.c_str());
      break;
    }
    loadFailed_ = true;
    messages_.show(kTextLoadFailed, MessageIcon::kError);
  }
  newDocument();
  return true;
}

bool CConfig::SaveCfg() {
  if (!ready()) return false;
  if (!save_ || fileName_.empty()) return true;
  if (writeFileSafely(fileName_, latin1XmlText(document_))) return true;
  messages_.show(kTextSaveFailed, MessageIcon::kError);
  return false;
}

pugi::xml_node CConfig::element(const std::string& path, bool create) {
  pugi::xml_node root = document_.child(kRoot);
  if (!root) return {};
  const std::vector<std::string> parts = pathParts(path);
  if (parts.empty()) return root;
  if (pugi::xml_node found = findAnywhere(root, parts, 0)) return found;
  // A name the file could not hold is refused before anything is created.
  if (create && !std::all_of(parts.begin(), parts.end(), isStorableName)) return {};
  pugi::xml_node node = root;
  for (const std::string& part : parts) {
    pugi::xml_node child = node.child(part.c_str());
    if (!child) {
      if (!create) return {};
      dropLayoutText(node);
      child = node.append_child(part.c_str());
    }
    node = child;
  }
  return node;
}

std::string CConfig::ReadText(const std::string& path) {
  if (!ready()) return {};
  return element(path, true).text().get();
}

void CConfig::WriteText(const std::string& path, const std::string& text) {
  if (!ready()) return;
  if (pugi::xml_node node = element(path, true)) node.text().set(storableText(text).c_str());
}

void CConfig::WriteParam(const std::string& path, const std::string& name,
                         const std::string& value) {
  if (!ready() || !isStorableName(name)) return;
  pugi::xml_node node = element(path, true);
  if (!node) return;
  pugi::xml_attribute attribute = node.attribute(name.c_str());
  if (!attribute) attribute = node.append_attribute(name.c_str());
  attribute.set_value(storableText(value).c_str());
}

std::optional<std::string> CConfig::ReadParam(const std::string& path, const std::string& name) {
  if (!ready()) return std::nullopt;
  pugi::xml_attribute attribute = element(path, false).attribute(name.c_str());
  if (!attribute) return std::nullopt;
  return std::string(attribute.value());
}

bool CConfig::TestParam(const std::string& path, const std::string& name) {
  return ReadParam(path, name).has_value();
}

void CConfig::RemoveObjekt(const std::string& path) {
  if (!ready() || pathParts(path).empty()) return;  // never the root
  if (pugi::xml_node node = element(path, false)) node.parent().remove_child(node);
}

bool CConfig::PathExists(const std::string& path) {
  if (!ready()) return false;
  return static_cast<bool>(element(path, false));
}

bool CConfig::HasChild(const std::string& path) {
  if (!ready()) return false;
  return static_cast<bool>(element(path, false).first_child());
}

std::vector<std::string> CConfig::EnumPath(const std::string& path) {
  std::vector<std::string> names;
  if (!ready()) return names;
  for (pugi::xml_node child : element(path, false).children()) names.emplace_back(child.name());
  return names;
}

void CConfig::AddFilename(const std::string& name) {
  if (!ready()) return;
  const std::string newest = trimmed(name);
  std::vector<std::string> files{newest};
  for (int i = 1; i <= 4 && files.size() < 4; ++i) {
    std::string earlier = GetFilename(i);
    if (!sameTextNoCase(earlier, newest)) files.push_back(earlier);
  }
  files.resize(4);  // a name listed twice before leaves no copy behind
  for (size_t i = 0; i < files.size(); ++i) {
    WriteText("LastFiles/File" + std::to_string(i + 1), files[i]);
  }
}

std::string CConfig::GetFilename(int i) {
  if (!ready() || i < 1 || i > 4) return {};
  return ReadText("LastFiles/File" + std::to_string(i));
}

}  // namespace viewers
