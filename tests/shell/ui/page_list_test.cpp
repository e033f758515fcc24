#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTabWidget>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "shell/page_registry.h"
#include "shell/ui/qt_controls.h"
#include "tests/shell/ui/shell_ui_support.h"

namespace {

using guitest::Shell;

const QStringList kAllCaptions = {
    "Zündung",        "Balken-Anzeige", "Gang-Anzeige", "Tank-Anzeige",
    "Schalt-Anzeige", "Lambda-Anzeige", "ZOR",          "Rpm-Logger",
    "Seriell-Logger", "Öl-Anzeige",     "Stopuhr",      "Poti-Anzeige",
    "Rallye-Timer",   "Car-Logger",     "Instrument",   "MotorSteller",
    "Warmlaufregler", "Extras",         "Info"};

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct MaskCase {
  const char* name;
  const char* stored;  // nullptr: the key is missing
  QStringList tabs;
  int32_t firstPage;
};

class PageListTest : public testing::TestWithParam<MaskCase> {};

TEST_P(PageListTest, TabsFollowFensterListe) {
  const MaskCase& c = GetParam();
  Shell s;
  if (c.stored != nullptr) s.settings->set("FensterListe", c.stored);
  s.start();

  EXPECT_EQ(s.tabCaptions(), c.tabs);
  EXPECT_EQ(s.host().tabs()->currentIndex(), 0);
  EXPECT_EQ(s.host().currentPageId(), c.firstPage);
  ASSERT_NE(s.host().visiblePage(), nullptr);
  EXPECT_EQ(s.host().visiblePage()->pageId(), c.firstPage);
  EXPECT_TRUE(s.host().visiblePage()->created());
  // Nothing but the first page has been visited, so nothing else exists.
  for (int32_t id = shell::kFirstPageId; id <= shell::kLastPageId; ++id) {
    if (id != c.firstPage) {
      EXPECT_FALSE(s.host().page(id)->created()) << id;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Masks, PageListTest,
    testing::Values(MaskCase{"missing", nullptr, {"Zündung", "Extras", "Info"}, 201},
                    MaskCase{"all", "131071", kAllCaptions, 201},
                    MaskCase{"notANumber", "abc", {"Extras", "Info"}, 218},
                    MaskCase{"gearAndZor", "68", {"Gang-Anzeige", "ZOR", "Extras", "Info"}, 203},
                    // Bits above 16 name no page.
                    MaskCase{"bit17Only", "131072", {"Extras", "Info"}, 218}),
    [](const testing::TestParamInfo<MaskCase>& info) { return std::string(info.param.name); });

TEST(PageList, MissingKeyIsAddedWithItsDefault) {
  Shell s;
  s.start();
  ASSERT_EQ(s.settings->flush(), 0);
  const std::string text = fileText(s.settings->path());
  EXPECT_NE(text.find("FensterListe=1\r\n"), std::string::npos) << text;
  // The port comes first: it is read before the pages and the tabs.
  EXPECT_EQ(text.rfind("ComPort=1\r\n", 0), 0u) << text;
}

struct PortCase {
  const char* stored;
  int32_t port;
};

class ComPortTest : public testing::TestWithParam<PortCase> {};

TEST_P(ComPortTest, StartUpClampsThePort) {
  Shell s;
  s.settings->set("ComPort", GetParam().stored);
  s.settings->set("FensterListe", "1");  // the ignition page first: no port scan
  s.start();
  EXPECT_EQ(s.link->portNumber(), GetParam().port);
}

INSTANTIATE_TEST_SUITE_P(Ports, ComPortTest,
                         testing::Values(PortCase{"0", 1}, PortCase{"150", 1}, PortCase{"-3", 1},
                                         PortCase{"1", 1}, PortCase{"7", 7}, PortCase{"99", 99},
                                         PortCase{"100", 1}, PortCase{"x", 1}),
                         [](const testing::TestParamInfo<PortCase>& info) {
                           std::string name = std::string("stored_") + info.param.stored;
                           for (char& ch : name) {
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

// A page with one edit field that counts how often its widget is made.
class FieldPage : public shell::ModulePage {
 public:
  using ModulePage::ModulePage;
  int made = 0;
  QLineEdit* field = nullptr;

 protected:
  QWidget* createWidget(QWidget* parent) override {
    ++made;
    auto* w = new QWidget(parent);
    field = new QLineEdit(w);
    return w;
  }
};

TEST(PageList, PageKeepsItsContentsAcrossTabSwitchesAndRebuilds) {
  guitest::ShellOptions options;
  options.modulePage = [](int32_t id) -> std::unique_ptr<shell::ModulePage> {
    if (id == 202) return std::make_unique<FieldPage>(id);
    return nullptr;
  };
  Shell s(options);
  s.settings->set("FensterListe", "3");  // Zündung, Balken-Anzeige, Extras, Info
  s.start();
  auto* bar = static_cast<FieldPage*>(s.host().page(202));
  EXPECT_EQ(bar->made, 0);

  ASSERT_TRUE(s.clickTab(202));
  ASSERT_EQ(bar->made, 1);
  bar->field->setText(QStringLiteral("12,5"));
  QWidget* barWidget = bar->widget();

  ASSERT_TRUE(s.clickTab(shell::kPageExtras));
  EXPECT_EQ(s.host().visiblePage(), s.extras.get());
  EXPECT_FALSE(barWidget->isVisible());
  QWidget* extrasWidget = s.extras->widget();
  ASSERT_TRUE(s.clickTab(shell::kPageInfo));
  ASSERT_TRUE(s.clickTab(202));
  EXPECT_TRUE(barWidget->isVisible());
  EXPECT_EQ(bar->field->text(), QStringLiteral("12,5"));

  // The module selection rebuilds the tabs; pages keep their widgets, also
  // while they have no tab.
  s.settings->set("FensterListe", "1");
  s.host().buildPageList();
  EXPECT_EQ(s.tabCaptions(), QStringList({"Zündung", "Extras", "Info"}));
  s.settings->set("FensterListe", "2");
  s.host().buildPageList();
  EXPECT_EQ(s.host().currentPageId(), 202);
  EXPECT_EQ(bar->made, 1);
  EXPECT_EQ(bar->widget(), barWidget);
  EXPECT_EQ(bar->field->text(), QStringLiteral("12,5"));
  ASSERT_TRUE(s.clickTab(shell::kPageExtras));
  EXPECT_EQ(s.extras->widget(), extrasWidget);
}

TEST(MainWindow, OpensWholeOnTheScreenAndDialogsCentredOverIt) {
  Shell s;
  s.window->hide();
  s.window->move(0, 0);  // where it used to go: the title bar above the screen
  s.start();
  s.window->placeOnScreen();
  s.window->show();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect frame = s.window->frameGeometry();
  EXPECT_TRUE(screen.contains(frame)) << "frame " << frame.x() << "," << frame.y();
  EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 1);
  EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 1);

  // A dialog of a page opens over the middle of the window, not in a corner.
  QPoint dialogCentre;
  uitest::onNextModal([&](QWidget* w) {
    dialogCentre = w->frameGeometry().center();
    qobject_cast<QDialog*>(w)->reject();
  });
  QDialog dialog(s.host().tabs());
  dialog.resize(200, 100);
  dialog.exec();
  EXPECT_LE((dialogCentre - s.window->frameGeometry().center()).manhattanLength(), 2);
}

TEST(PageList, InfoShowsProductAndVersion) {
  Shell s;
  s.start();
  ASSERT_TRUE(s.clickTab(shell::kPageInfo));
  QWidget* version = shell::findControl(s.info->widget(), shell::InfoPage::kVersionText);
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->property("text").toString(), QStringLiteral("V 6.5.0 vom 27.09.2019"));
  EXPECT_EQ(s.window->windowTitle(), QStringLiteral("Tunvexa"));
}

}  // namespace
