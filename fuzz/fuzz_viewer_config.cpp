// A viewer's XML settings file as a user's disk may hold it: the fuzz input
// is the file the viewer opens at start. Every value it holds near the root
// and the keys the viewers use are read, changed and stored with a form;
// then the next start must load the file without complaint and see exactly
// what the first one stored. A file that does not load is set aside intact.
#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "viewers/common/config.h"
#include "viewers/common/xml_latin1.h"

using fuzz_support::inFolder;

namespace {

class QuietMessages : public viewers::ViewerMessages {
 public:
  void show(const std::string& text, viewers::MessageIcon) override { shown.push_back(text); }
  bool askYesNo(const std::string&) override { return false; }
  std::vector<std::string> shown;
};

// Paths of the file's elements down to two levels, and the viewers' keys.
std::vector<std::string> pathsOf(viewers::CConfig& config) {
  std::vector<std::string> paths{"Port", "Display\\Zeilenh\xC3\xB6he", "Display\\Farben\\LinieA",
                                 "Einstell/COM", "Einstell/Zylinder"};
  // The same element under both separators counts once.
  std::set<std::string> seen;
  for (std::string path : paths) {
    std::replace(path.begin(), path.end(), '\\', '/');
    seen.insert(path);
  }
  for (const std::string& first : config.EnumPath("")) {
    if (!viewers::isStorableName(first)) continue;
    if (seen.insert(first).second) paths.push_back(first);
    for (const std::string& second : config.EnumPath(first)) {
      if (!viewers::isStorableName(second)) continue;
      if (seen.insert(first + "/" + second).second) paths.push_back(first + "/" + second);
      if (paths.size() >= 16) return paths;
    }
  }
  return paths;
}

viewers::FormState sampleForm() {
  viewers::FormState form;
  form.name = "HF";
  form.cfg = true;
  form.caption = "Taktora V1.2.1";
  form.left = 120;
  form.top = -45;
  form.width = 9000;
  form.height = 6000;
  form.controls = {viewers::ControlState::optionButton("OptModus", 2),
                   viewers::ControlState::textBox("Txt", "Zeile\r\nZ\xC3\xA4hne <&> \xE2\x82\xAC")};
  return form;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::isolateUserFolders();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input = fuzz_support::asText(data, size);
  const std::string root = inFolder("viewer");
  fuzz_support::freshFolder(root);
  const viewers::ViewerFolders folders{root + "/programm", root + "/config", root + "/etc",
                                       root + "/docs"};
  const viewers::ProductInfo product{viewers::kProductTaktora, 1, 2, 1};
  const std::string file = root + "/config/ZEB/Taktora V1.2.1/Taktora.xml";
  fuzz_support::writeFile(file, input);

  std::vector<std::string> paths;
  std::vector<std::string> values;
  QuietMessages messages;
  {
    viewers::CConfig config(product, folders, messages);
    FUZZ_CHECK(config.SetXMLFile("", true));
    FUZZ_CHECK(config.fileName() == file);
    if (config.loadFailed()) {
      FUZZ_CHECK(messages.shown.size() == 1 && messages.shown[0] == viewers::kTextLoadFailed);
      FUZZ_CHECK(fuzz_support::readFile(file + ".001") == input, "the broken file was not kept");
    } else {
      FUZZ_CHECK(messages.shown.empty(), "a loaded file gave a message");
    }
    paths = pathsOf(config);
    for (size_t i = 0; i < paths.size(); ++i) {
      const std::string first = config.ReadText(paths[i]);
      FUZZ_CHECK(config.ReadText(paths[i]) == first, "a second read differs: " + paths[i]);
      if (i % 2 == 0) {
        const std::string value =
            first.substr(0, 40) + "\xC3\xBC\xE2\x82\xAC\t" + std::to_string(i);
        config.WriteText(paths[i], value);
        FUZZ_CHECK(config.ReadText(paths[i]) == viewers::storableText(value),
                   "a written value is lost: " + paths[i]);
      }
      values.push_back(config.ReadText(paths[i]));
    }
    config.SaveForm(sampleForm(), -1);
    FUZZ_CHECK(config.SaveCfg(), "saving failed in a writable folder");
  }

  const std::string written = fuzz_support::readFile(file);
  FUZZ_CHECK(written.rfind("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>", 0) == 0,
             "no Latin-1 declaration: " + fuzz_support::escaped(written.substr(0, 80)));
  QuietMessages again;
  viewers::CConfig next(product, folders, again);
  next.SetXMLFile("", false);
  FUZZ_CHECK(!next.loadFailed(),
             "the stored file does not load again:\n" + fuzz_support::escaped(written));
  for (size_t i = 0; i < paths.size(); ++i) {
    FUZZ_CHECK(next.ReadText(paths[i]) == values[i],
               "the next start reads another value for " + paths[i] + "\n" +
                   fuzz_support::firstDifference(values[i], next.ReadText(paths[i])) +
                   "\nstored file:\n" + fuzz_support::escaped(written));
  }
  auto form = next.RestoreForm("HF", true, true, -1);
  FUZZ_CHECK(form.has_value(), "the stored form is missing");
  const viewers::FormState stored = sampleForm();
  FUZZ_CHECK(form->left == stored.left && form->top == stored.top && form->width == stored.width &&
                 form->height == stored.height,
             "the form's geometry changed");
  for (const viewers::ControlState& control : stored.controls) {
    const viewers::ControlState* back = form->control(control.name);
    FUZZ_CHECK(back != nullptr && back->varType == control.varType, "a control is lost");
    for (const auto& [name, value] : control.attributes) {
      const std::string* text = back->find(name);
      FUZZ_CHECK(text != nullptr && *text == value, "a control's value changed: " + name);
    }
  }
  return 0;
}
