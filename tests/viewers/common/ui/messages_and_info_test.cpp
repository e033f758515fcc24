#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>

#include "tests/support/ui_test_support.h"
#include "viewers/common/product.h"
#include "viewers/common/ui/finfo.h"
#include "viewers/common/ui/qt_viewer_messages.h"

namespace viewers {
namespace {

struct SeenBox {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
};

// Records the next box and answers it with `answer`.
void answerNextBox(SeenBox& seen, QMessageBox::StandardButton answer) {
  uitest::onNextModal([&seen, answer](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box == nullptr) {
      modal->close();
      return;
    }
    seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
    box->button(answer)->click();
  });
}

TEST(QtViewerMessages, BoxesAreTitledWithTheProductName) {
  QtViewerMessages messages(kProductFunkora);
  SeenBox seen;
  answerNextBox(seen, QMessageBox::Ok);
  messages.show("Kein COM-Port ausgew\xC3\xA4hlt!\r\nMen\xC3\xBC Extras/Einstellungen",
                MessageIcon::kError);
  EXPECT_EQ(seen.title, "Funkora");
  EXPECT_EQ(seen.text, QString::fromUtf8("Kein COM-Port ausgewählt!\nMenü Extras/Einstellungen"));
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

  QtViewerMessages help(kProductTaktora);
  answerNextBox(seen, QMessageBox::Ok);
  help.show("Commandline-Parameter:\r\n-h -> dieses Fenster", MessageIcon::kNone);
  EXPECT_EQ(seen.title, "Taktora");
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
}

TEST(QtViewerMessages, QuestionsAnswerYesOrNo) {
  QtViewerMessages messages(kProductTaktora);
  for (bool yes : {true, false}) {
    SeenBox seen;
    answerNextBox(seen, yes ? QMessageBox::Yes : QMessageBox::No);
    EXPECT_EQ(messages.askYesNo("Ordner existiert nicht.\r\nErstellen?"), yes);
    EXPECT_EQ(seen.title, "Taktora");
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
  }
}

TEST(FInfo, ShowsNameAndVersionAndTakesTheMainWindowsCaptionAndIcon) {
  const ProductInfo product{kProductFunkora, 1, 2, 1};
  EXPECT_TRUE(aboutText("Funkora", product).startsWith("Funkora\r\nV 1.2.1\r\n\r\n"));
  EXPECT_GT(aboutText("Funkora", product).size(), QString("Funkora\r\nV 1.2.1\r\n\r\n").size());

  QMainWindow main;
  main.setWindowTitle("Taktora - ZEB-Mode");
  QPixmap icon(16, 16);
  icon.fill(Qt::blue);
  main.setWindowIcon(QIcon(icon));
  FInfo info(main.windowTitle(), {kProductTaktora, 1, 2, 1}, &main);
  EXPECT_EQ(info.windowTitle(), "Taktora - ZEB-Mode");
  EXPECT_FALSE(info.windowIcon().isNull());
  EXPECT_TRUE(info.textLabel()->text().startsWith("Taktora - ZEB-Mode\nV 1.2.1\n\n"));
  EXPECT_TRUE(info.textLabel()->font().bold());
  EXPECT_EQ(info.palette().color(QPalette::Window), QColor(Qt::white));

  bool shot = false;
  uitest::onNextModal([&](QWidget* modal) {
    shot = uitest::saveShot(modal, "about_box");
    modal->findChild<QPushButton*>("Schliessen")->click();
  });
  EXPECT_EQ(info.exec(), QDialog::Accepted);
  EXPECT_TRUE(shot);
}

}  // namespace
}  // namespace viewers
