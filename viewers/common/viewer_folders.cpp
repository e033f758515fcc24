#include "viewers/common/viewer_folders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/user_folders.h"

namespace viewers {

namespace {

bool isFolder(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

void makeFolder(const std::string& path) {
  std::error_code ignored;
  std::filesystem::create_directories(path, ignored);
}

std::string productFolderName(const ProductInfo& product) {
  return product.name + " " + versionText(product) + "/";
}

}  // namespace

ViewerFolders ViewerFolders::fromEnvironment(const std::string& programFolder) {
  ViewerFolders folders;
  folders.program = programFolder;
  folders.userData = platform::applicationDataFolder();
  folders.documents = platform::documentsFolder();
  std::string dirs;
  if (const char* value = std::getenv("XDG_CONFIG_DIRS")) dirs = value;
  std::string first = dirs.substr(0, dirs.find(':'));
  folders.allUsersData = !first.empty() && first.front() == '/' ? first : "/etc/xdg";
  while (folders.allUsersData.size() > 1 && folders.allUsersData.back() == '/') {
    folders.allUsersData.pop_back();
  }
  return folders;
}

std::string applicationDataBase(const ViewerFolders& folders, const ProductInfo& product,
                                bool allUsers) {
  std::string portable = folders.program + "/Anwendungsdaten/";
  if (isFolder(portable)) return portable;
  std::string maker = (allUsers ? folders.allUsersData : folders.userData) + "/ZEB/";
  std::string base = maker + productFolderName(product);
  if (!allUsers) {
    makeFolder(maker);
    makeFolder(base);
  }
  return base;
}

std::string documentsBase(const ViewerFolders& folders, const ProductInfo& product) {
  std::string portable = folders.program + "/Eigene Dateien/";
  if (isFolder(portable)) return portable;
  std::string maker = folders.documents + "/ZEB/";
  makeFolder(maker);
  return maker + productFolderName(product);
}

}  // namespace viewers
