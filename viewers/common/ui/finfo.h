#pragma once

#include <QDialog>
#include <QString>

#include "viewers/common/product.h"

class QLabel;

namespace viewers {

// The about box: a picture, the program's name and version in bold, the
// maker's lines, and "Schliessen". Caption and icon are the main window's.
class FInfo : public QDialog {
  Q_OBJECT

 public:
  // `title` is the first line: the main window's caption (trigger viewer)
  // or the product name (rpm viewer).
  FInfo(const QString& title, const ProductInfo& product, QWidget* mainWindow);

  QLabel* textLabel() const { return text_; }

 private:
  QLabel* text_;
};

// The box's text: title, CR LF, "V " + major.minor.revision, two CR LF,
// then the lines about the maker.
QString aboutText(const QString& title, const ProductInfo& product);

}  // namespace viewers
