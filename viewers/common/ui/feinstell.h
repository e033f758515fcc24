#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

class QComboBox;
class QGroupBox;
class QToolButton;

namespace viewers {

class ucCOM;
class ucComListView;

inline constexpr int kDisplayColourCount = 7;
// The trigger viewer's seven display colours in the dialog's order
// ("Fensterhintergrund" ... "Markierung"), each red + 256 green + 65536 blue.
using DisplayColours = std::array<uint32_t, kDisplayColourCount>;

// What the settings dialog needs of the trigger viewer's main window. The
// dialog changes only the colours of its display settings, so keeping the
// colours aside keeps the whole block.
class ColourHost {
 public:
  virtual ~ColourHost() = default;
  virtual DisplayColours displayColours() const = 0;
  virtual void setDisplayColours(const DisplayColours& colours) = 0;
  // Recompute the scroll range and redraw the "Stop" picture.
  virtual void redrawNow() = 0;
};

// The settings dialog "Einstellungen": the port list in the frame
// "COM-Port", then either the seven colours (trigger viewer) or the
// cylinder count (rpm viewer), "Ok" and "Abbrechen".
class FEinstell : public QDialog {
  Q_OBJECT

 public:
  // Trigger viewer: a colour picked shows at once; only "Ok" keeps it.
  FEinstell(ucCOM& com, ColourHost& colours, QWidget* owner);
  // Rpm viewer: the cylinder count, 2 to 8.
  FEinstell(ucCOM& com, int& cylinders, QWidget* owner);

  ucComListView* portList() const { return portList_; }
  QGroupBox* portFrame() const { return portFrame_; }
  QGroupBox* cylinderFrame() const { return cylinderFrame_; }
  QComboBox* cylinderList() const { return cylinderList_; }
  // Square i of "Farben"; nullptr in the rpm viewer's dialog.
  QToolButton* colourField(int index) const;

 protected:
  void done(int result) override;

 private:
  FEinstell(ucCOM& com, QWidget* owner);
  void finishLayout(QWidget* variantFrame);
  void pickColour(int index);
  void showColour(int index, uint32_t colour);
  void takeOk();

  ucCOM& com_;
  ColourHost* colourHost_ = nullptr;
  int* cylinders_ = nullptr;
  DisplayColours kept_{};
  ucComListView* portList_;
  QGroupBox* portFrame_;
  QGroupBox* cylinderFrame_ = nullptr;
  QComboBox* cylinderList_ = nullptr;
  std::array<QToolButton*, kDisplayColourCount> colourFields_{};
};

// The colour of a stored value and back (red + 256 green + 65536 blue).
QColor colourOf(uint32_t value);
uint32_t valueOf(const QColor& colour);

}  // namespace viewers
