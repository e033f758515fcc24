#include "viewers/common/config.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "viewers_test_support.h"

namespace {

using viewers::CConfig;
using viewers::ControlState;
using viewers::FormState;
using viewers::MessageIcon;
using viewers::WindowState;
using viewers_test::readFile;
using viewers_test::writeFile;

class ConfigTest : public ::testing::Test {
 protected:
  viewers::ViewerFolders folders() const {
    return {tmp / "programm", tmp / "config", tmp / "etc", tmp / "docs"};
  }
  std::string defaultFile() const { return tmp / "config/ZEB/Taktora V1.2.1/Taktora.xml"; }
  std::string file() const { return tmp / "Taktora.xml"; }

  viewers_test::TempFolder tmp;
  viewers_test::RecordingMessages messages;
  const viewers::ProductInfo product{"Taktora", 1, 2, 1};
};

// The element at a slash path below the document, as another reader sees it.
pugi::xml_node at(const pugi::xml_document& doc, const char* path) {
  return doc.first_element_by_path(path);
}

TEST_F(ConfigTest, ValuesByPathAndElementsCreatedOnRead) {
  {
    CConfig config(product, folders(), messages);
    ASSERT_TRUE(config.SetXMLFile(file(), true));
    config.WriteText("Display\\Farben\\LinieA", "16711680");
    EXPECT_EQ(config.ReadText("Display/Farben/LinieA"), "16711680");
    EXPECT_EQ(config.ReadText("Nichts/Da"), "");
    EXPECT_TRUE(config.PathExists("Nichts/Da/"));
    EXPECT_FALSE(config.PathExists("Nichts/Dort"));
  }  // written when the object ends
  EXPECT_TRUE(messages.shown.empty());
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file(file().c_str()));
  EXPECT_STREQ(doc.document_element().name(), "Config");
  EXPECT_STREQ(at(doc, "Config/Display/Farben/LinieA").text().get(), "16711680");
  EXPECT_TRUE(at(doc, "Config/Nichts/Da"));

  CConfig again(product, folders(), messages);
  ASSERT_TRUE(again.SetXMLFile(file(), false));
  EXPECT_EQ(again.ReadText("Display/Farben/LinieA"), "16711680");
  EXPECT_EQ(again.EnumPath("Display"), std::vector<std::string>{"Farben"});
  EXPECT_TRUE(again.HasChild("Display"));
  EXPECT_FALSE(again.HasChild("Nichts/Da"));
}

TEST_F(ConfigTest, UmlautsAreIso88591AndOtherCharactersReferences) {
  {
    CConfig config(product, folders(), messages);
    config.SetXMLFile(file(), true);
    config.WriteText("Display\\Zeilenh\xC3\xB6he", "50");
    config.WriteText("Notiz",
                     "Gr\xC3\xBC\xC3\x9F"
                     "e \xE2\x82\xAC 5");
    // XML 1.0 holds no other control characters than TAB, LF and CR; a byte
    // that is no UTF-8 is stored as the file can hold it.
    config.WriteText("Steuer", std::string("a\x01\tb\0c\xFF", 7));
  }
  const std::string bytes = readFile(file());
  EXPECT_NE(bytes.find("encoding=\"iso-8859-1\""), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("<Zeilenh\xF6he>50</Zeilenh\xF6he>"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("Gr\xFC\xDF"
                       "e &#8364; 5"),
            std::string::npos)
      << bytes;
  EXPECT_EQ(bytes.find("\xC3"), std::string::npos) << "UTF-8 in the file";
  EXPECT_NE(bytes.find("\n  <Display>"), std::string::npos) << "indented";

  CConfig again(product, folders(), messages);
  again.SetXMLFile(file(), true);
  EXPECT_EQ(again.ReadText("Display/Zeilenh\xC3\xB6he"), "50");
  EXPECT_EQ(again.ReadText("Notiz"),
            "Gr\xC3\xBC\xC3\x9F"
            "e \xE2\x82\xAC 5");
  EXPECT_EQ(again.ReadText("Steuer"), "a\tbc?");
  EXPECT_FALSE(again.loadFailed());
}

// A file taken over from elsewhere may be UTF-8; written back, it must say
// what it has become, or the umlauts are lost on the next start.
TEST_F(ConfigTest, Utf8FileIsWrittenBackWithTheLatin1Declaration) {
  writeFile(
      file(),
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Config><Port>K\xC3\xA4st</Port></Config>");
  {
    CConfig config(product, folders(), messages);
    config.SetXMLFile(file(), true);
    EXPECT_EQ(config.ReadText("Port"), "K\xC3\xA4st");
  }
  const std::string bytes = readFile(file());
  EXPECT_NE(bytes.find("encoding=\"iso-8859-1\""), std::string::npos) << bytes;
  CConfig again(product, folders(), messages);
  again.SetXMLFile(file(), false);
  EXPECT_EQ(again.ReadText("Port"), "K\xC3\xA4st");
  EXPECT_TRUE(messages.shown.empty());
}

// Edited by hand as 8-bit text, without a declaration: not UTF-8, so read
// as Latin-1 rather than kept as broken bytes that turn into "?" later.
TEST_F(ConfigTest, Latin1FileWithoutDeclarationKeepsItsUmlauts) {
  for (const char* head : {"", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"}) {
    writeFile(file(), std::string(head) + "<Config><Port>K\xE4st</Port></Config>");
    {
      CConfig config(product, folders(), messages);
      config.SetXMLFile(file(), true);
      EXPECT_FALSE(config.loadFailed());
      EXPECT_EQ(config.ReadText("Port"), "K\xC3\xA4st") << head;
    }
    CConfig again(product, folders(), messages);
    again.SetXMLFile(file(), false);
    EXPECT_EQ(again.ReadText("Port"), "K\xC3\xA4st") << head;
  }
}

// Blank text is layout once an element has children; what is read now must
// be what the next start reads.
TEST_F(ConfigTest, BlankTextBesideANewChildReadsTheSameAfterTheNextStart) {
  writeFile(file(), "<Config><Display> </Display></Config>");
  std::string now;
  {
    CConfig config(product, folders(), messages);
    config.SetXMLFile(file(), true);
    config.WriteText("Display/Farben/LinieA", "255");
    now = config.ReadText("Display");
  }
  CConfig again(product, folders(), messages);
  again.SetXMLFile(file(), false);
  EXPECT_EQ(again.ReadText("Display"), now);
  EXPECT_EQ(again.ReadText("Display/Farben/LinieA"), "255");
}

TEST_F(ConfigTest, DefaultFileInTheProductFolderOrBesideTheProgram) {
  {
    CConfig config(product, folders(), messages);
    ASSERT_TRUE(config.SetXMLFile("", true));
    EXPECT_EQ(config.fileName(), defaultFile());
    config.WriteText("Port", "COM3");
  }
  EXPECT_TRUE(std::filesystem::exists(defaultFile()));

  std::filesystem::create_directories(tmp / "programm/Anwendungsdaten");
  CConfig portable(product, folders(), messages);
  portable.SetXMLFile("", true);
  EXPECT_EQ(portable.fileName(), tmp / "programm/Anwendungsdaten/Taktora.xml");
}

TEST_F(ConfigTest, AllUsersFileIsCopiedWhenTheUserHasNone) {
  writeFile(tmp / "etc/ZEB/Taktora V1.2.1/Taktora.xml", "<Config><Port>COM4</Port></Config>");
  CConfig config(product, folders(), messages);
  config.SetXMLFile("", false);
  EXPECT_EQ(config.ReadText("Port"), "COM4");
  EXPECT_TRUE(std::filesystem::exists(defaultFile()));
}

struct BrokenCase {
  const char* content;
  std::vector<const char*> asideBefore;
  const char* renamedTo;
};

class ConfigBrokenFile : public ConfigTest, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(ConfigBrokenFile, IsRenamedToTheFirstFreeNumber) {
  const BrokenCase& c = GetParam();
  for (const char* suffix : c.asideBefore) writeFile(file() + suffix, "alt");
  writeFile(file(), c.content);
  CConfig config(product, folders(), messages);
  ASSERT_TRUE(config.SetXMLFile(file(), true));
  EXPECT_TRUE(config.loadFailed());
  EXPECT_EQ(readFile(file() + c.renamedTo), c.content);
  for (const char* suffix : c.asideBefore) EXPECT_EQ(readFile(file() + suffix), "alt");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].first,
            "Einstelllungen konnten nicht geladen werden!\r\n"
            "Es werden die Grundeinstellungen verwendet!");
  EXPECT_EQ(messages.shown[0].second, MessageIcon::kError);
  // Defaults from here on, and a sound file at the old name.
  EXPECT_EQ(config.ReadText("Port"), "");
  config.WriteText("Port", "COM2");
  ASSERT_TRUE(config.SaveCfg());
  CConfig again(product, folders(), messages);
  again.SetXMLFile(file(), false);
  EXPECT_EQ(again.ReadText("Port"), "COM2");
}

INSTANTIATE_TEST_SUITE_P(Cases, ConfigBrokenFile,
                         ::testing::Values(BrokenCase{"<Config><Port>COM3</Config>", {}, ".001"},
                                           BrokenCase{"<Config", {".001", ".002", ".003"}, ".004"},
                                           BrokenCase{"kein XML", {".001", ".003"}, ".002"},
                                           // Well-formed, but no settings document.
                                           BrokenCase{"<Einstellungen/>", {}, ".001"},
                                           BrokenCase{"", {}, ".001"}));

TEST_F(ConfigTest, BrokenFileKeepsItsNameWhenAllNumbersAreTaken) {
  for (int n = 1; n <= 999; ++n) {
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, ".%03d", n);
    writeFile(file() + suffix, "");
  }
  writeFile(file(), "<Config>");
  CConfig config(product, folders(), messages);
  config.SetXMLFile(file(), false);
  EXPECT_TRUE(config.loadFailed());
  EXPECT_EQ(readFile(file()), "<Config>");
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(ConfigTest, ReadOnlyFileIsReportedAndLeftAlone) {
  const std::string original = "<Config><Port>COM3</Port></Config>";
  writeFile(file(), original);
  ::chmod(file().c_str(), 0444);
  {
    CConfig config(product, folders(), messages);
    config.SetXMLFile(file(), true);
    config.WriteText("Port", "COM9");
    EXPECT_FALSE(config.SaveCfg());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first,
              "Einstellungen k\xC3\xB6nnen nicht gespeichert werden!\r\n"
              "Datei ist schreibgesch\xC3\xBCtzt.");
    EXPECT_EQ(config.ReadText("Port"), "COM9");  // the program goes on
  }
  EXPECT_EQ(readFile(file()), original);
  EXPECT_FALSE(std::filesystem::exists(file() + ".tmp"));
}

TEST_F(ConfigTest, WithoutSaveNothingIsWritten) {
  {
    CConfig config(product, folders(), messages);
    config.SetXMLFile(file(), false);
    config.WriteText("Port", "COM3");
    EXPECT_TRUE(config.SaveCfg());
  }
  EXPECT_FALSE(std::filesystem::exists(file()));
}

TEST_F(ConfigTest, BeforeAFileIsOpenedOneMessageAndNothingElse) {
  CConfig config(product, folders(), messages);
  config.WriteText("Port", "COM3");
  EXPECT_EQ(config.ReadText("Port"), "");
  EXPECT_FALSE(config.PathExists(""));
  EXPECT_FALSE(config.RestoreForm("HF", true, true, -1).has_value());
  EXPECT_FALSE(config.SaveCfg());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].first,
            "Keine XML-Datei ge\xC3\xB6"
            "ffnet!");
  EXPECT_EQ(messages.shown[0].second, MessageIcon::kError);

  config.SetXMLFile(file(), true);
  config.WriteText("Port", "COM3");
  EXPECT_EQ(config.ReadText("Port"), "COM3");
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(ConfigTest, EmptyProductNameEndsTheProgram) {
  CConfig config({"", 1, 0, 0}, folders(), messages);
  EXPECT_FALSE(config.SetXMLFile(file(), true));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].first, "Produktname fehlt in den Projekteinstellungen!");
}

// A name no XML file can hold would make the whole file unreadable at the
// next start; such a path stores nothing.
TEST_F(ConfigTest, PathsWithNamesXmlCannotHoldAreRefused) {
  {
    CConfig config(product, folders(), messages);
    config.SetXMLFile(file(), true);
    config.WriteText("Port", "COM3");
    for (const char* path : {"Mit Blank", "1Zahl", "a:b", "Ok/<x>", "\xE2\x82\xAC", "\xFF"}) {
      config.WriteText(path, "x");
      EXPECT_EQ(config.ReadText(path), "") << path;
      config.WriteParam("Port", path, "x");
    }
    config.WriteText("Doppelt//Strich/", "ja");
    EXPECT_EQ(config.ReadText("Doppelt/Strich"), "ja");
  }
  CConfig again(product, folders(), messages);
  again.SetXMLFile(file(), false);
  EXPECT_FALSE(again.loadFailed());
  EXPECT_EQ(again.ReadText("Port"), "COM3");
  EXPECT_EQ(again.EnumPath(""), (std::vector<std::string>{"Port", "Doppelt"}));
}

TEST_F(ConfigTest, FormAndControlsStoredAndRestored) {
  FormState form;
  form.name = "HF";
  form.cfg = true;
  form.caption = "Taktora V1.2.1";
  form.left = 1500;
  form.top = 900;
  form.width = 12000;
  form.height = 8000;
  form.controls = {ControlState::optionButton("Opt_Skala", 3),
                   ControlState::comboBox("Cmb_Zyl", 2, "4 Zylinder"),
                   ControlState::textBox("Txt_Notiz", "Zeile 1\nZeile \"2\" <&>"),
                   ControlState::listView("Lst", {1200, 800}, true, 1, 2, 5, 3),
                   ControlState::slider("Sld", 7, false, 1, 2)};
  {
    CConfig config(product, folders(), messages);
    config.SetXMLFile(file(), true);
    config.SaveForm(form, -1);
    form.name = "FDetail";
    form.left = 30;
    config.SaveForm(form, 3);
  }
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file(file().c_str()));
  pugi::xml_node hf = at(doc, "Config/HF");
  EXPECT_STREQ(hf.attribute("VarType").value(), "Form");
  EXPECT_STREQ(hf.attribute("State").value(), "0");
  EXPECT_STREQ(hf.attribute("Caption").value(), "Taktora V1.2.1");
  EXPECT_STREQ(hf.attribute("Left").value(), "1500");
  EXPECT_STREQ(hf.attribute("Height").value(), "8000");
  EXPECT_STREQ(hf.child("Opt_Skala").attribute("VarType").value(), "OptionButton");
  EXPECT_STREQ(hf.child("Opt_Skala").attribute("SelIndex").value(), "3");
  EXPECT_STREQ(hf.child("Lst").attribute("ColWidth").value(), "1200;800");
  EXPECT_STREQ(hf.child("Lst").attribute("Sorted").value(), "True");
  EXPECT_STREQ(at(doc, "Config/FDetail/FDetail3").attribute("Left").value(), "30");

  CConfig config(product, folders(), messages);
  config.SetXMLFile(file(), false);
  auto restored = config.RestoreForm("HF", true, true, -1);
  ASSERT_TRUE(restored.has_value());
  EXPECT_EQ(restored->state, WindowState::kNormal);
  EXPECT_EQ(restored->left, 1500);
  EXPECT_EQ(restored->top, 900);
  EXPECT_EQ(restored->width, 12000);
  EXPECT_EQ(restored->height, 8000);
  for (const ControlState& stored : form.controls) {
    const ControlState* back = restored->control(stored.name);
    ASSERT_NE(back, nullptr) << stored.name;
    EXPECT_EQ(back->varType, stored.varType);
    EXPECT_EQ(back->attributes, stored.attributes) << stored.name;
  }
  EXPECT_EQ(restored->controls.size(), form.controls.size());
  EXPECT_EQ(config.RestoreForm("FDetail", true, true, 3)->left, 30);
  EXPECT_FALSE(config.RestoreForm("FDetail", true, true, 4).has_value());
  EXPECT_FALSE(config.RestoreForm("FNie", true, true, -1).has_value());
}

TEST_F(ConfigTest, MaximisedFormKeepsNoGeometryAndNeedsASizableBorder) {
  FormState form;
  form.name = "HF";
  form.cfg = true;
  form.state = WindowState::kMaximised;
  form.left = 100;
  CConfig config(product, folders(), messages);
  config.SetXMLFile(file(), false);
  config.SaveForm(form, -1);
  EXPECT_EQ(config.ReadParam("HF", "State"), "2");
  EXPECT_FALSE(config.TestParam("HF", "Left"));
  EXPECT_FALSE(config.TestParam("HF", "Width"));

  auto sizable = config.RestoreForm("HF", true, true, -1);
  ASSERT_TRUE(sizable.has_value());
  EXPECT_EQ(sizable->state, WindowState::kMaximised);
  EXPECT_FALSE(sizable->left.has_value());
  auto fixed = config.RestoreForm("HF", true, false, -1);
  ASSERT_TRUE(fixed.has_value());
  EXPECT_FALSE(fixed->state.has_value());
  // A form without the tag stores only its controls and gets no window part.
  form.name = "FEinstell";
  form.cfg = false;
  form.controls = {ControlState::checkBox("Chk", 1)};
  config.SaveForm(form, -1);
  EXPECT_FALSE(config.TestParam("FEinstell", "VarType"));
  auto plain = config.RestoreForm("FEinstell", false, true, -1);
  ASSERT_TRUE(plain.has_value());
  EXPECT_FALSE(plain->state.has_value());
  ASSERT_NE(plain->control("Chk"), nullptr);
  EXPECT_EQ(plain->control("Chk")->number("Value"), 1);
}

TEST_F(ConfigTest, RecentFilesNewestFirstWithoutRepeats) {
  CConfig config(product, folders(), messages);
  config.SetXMLFile(file(), false);
  for (const char* name : {"a.dat", "b.dat", "c.dat", "d.dat", "e.dat", " B.DAT "}) {
    config.AddFilename(name);
  }
  std::vector<std::string> files;
  for (int i = 0; i <= 5; ++i) files.push_back(config.GetFilename(i));
  EXPECT_EQ(files, (std::vector<std::string>{"", "B.DAT", "e.dat", "d.dat", "c.dat", ""}));
  config.RemoveObjekt("LastFiles/File1");
  EXPECT_EQ(config.EnumPath("LastFiles"), (std::vector<std::string>{"File2", "File3", "File4"}));
}

}  // namespace
