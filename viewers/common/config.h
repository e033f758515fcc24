#pragma once

#include <optional>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "viewers/common/form_state.h"
#include "viewers/common/product.h"
#include "viewers/common/viewer_folders.h"
#include "viewers/common/viewer_messages.h"

namespace viewers {

inline constexpr const char* kTextNoXmlFile =
    "Keine XML-Datei ge\xC3\xB6"
    "ffnet!";
inline constexpr const char* kTextLoadFailed =
    "Einstelllungen konnten nicht geladen werden!\r\nEs werden die Grundeinstellungen verwendet!";
inline constexpr const char* kTextSaveFailed =
    "Einstellungen k\xC3\xB6nnen nicht gespeichert werden!\r\nDatei ist schreibgesch\xC3\xBCtzt.";
inline constexpr const char* kTextNoProductName = "Produktname fehlt in den Projekteinstellungen!";

// A viewer's XML settings: values by path ("Display\Zeilenhöhe" or
// "Display/Zeilenhöhe", below the root "Config"), attributes, and the stored
// state of forms. The file is ISO-8859-1 with indentation, so the Windows
// viewers read it too.
//
// Until SetXMLFile has run, every operation does nothing and returns an empty
// result; the first such call tells the user once.
class CConfig {
 public:
  CConfig(ProductInfo product, ViewerFolders folders, ViewerMessages& messages);
  // Writes the file back, as SaveCfg, when one was opened.
  ~CConfig();
  CConfig(const CConfig&) = delete;
  CConfig& operator=(const CConfig&) = delete;

  // Opens `file`, or the default file (application-data base + product name
  // + ".xml") when it is empty. False only when the product name is empty:
  // then the program has to end.
  bool SetXMLFile(const std::string& file, bool save);
  // False when the file could not be written (the user was told).
  bool SaveCfg();

  // Missing elements are created, so a key read once appears in the file.
  std::string ReadText(const std::string& path);
  void WriteText(const std::string& path, const std::string& text);

  // index -1: the form's path is its name; otherwise name/name<index>.
  void SaveForm(const FormState& form, int index);
  // Empty when nothing was stored. The window part is given only for a form
  // tagged "cfg"; state and size only when its border is sizable.
  std::optional<RestoredForm> RestoreForm(const std::string& formName, bool cfg, bool sizable,
                                          int index);

  void WriteParam(const std::string& path, const std::string& name, const std::string& value);
  // Empty when the element or the attribute is missing.
  std::optional<std::string> ReadParam(const std::string& path, const std::string& name);
  bool TestParam(const std::string& path, const std::string& name);
  void RemoveObjekt(const std::string& path);
  bool PathExists(const std::string& path);
  bool HasChild(const std::string& path);
  std::vector<std::string> EnumPath(const std::string& path);

  // The recently used files at "LastFiles/File1" to "File4", newest first.
  void AddFilename(const std::string& name);
  std::string GetFilename(int i);

  const std::string& fileName() const { return fileName_; }
  bool loadFailed() const { return loadFailed_; }

 private:
  bool ready();
  pugi::xml_node element(const std::string& path, bool create);
  void newDocument();
  bool load();
  static std::string formPath(const std::string& formName, int index);

  ProductInfo product_;
  ViewerFolders folders_;
  ViewerMessages& messages_;
  pugi::xml_document document_;
  std::string fileName_;
  bool opened_ = false;
  bool save_ = false;
  bool noFileWarned_ = false;
  bool loadFailed_ = false;
};

}  // namespace viewers
