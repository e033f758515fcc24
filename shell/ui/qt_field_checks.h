#pragma once

#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QWidget;

namespace shell {

// The edit fields of a dialog that are checked when they lose the focus.
// A failing check reports itself (a message box), and the focus goes back
// into the field. While a report is on screen no focus change is checked,
// and once a field has failed only that field is checked until it passes:
// otherwise the focus bouncing between two bad fields would never end.
//
// Leaving a field for a button in `exempt` (OK, Abbruch) checks nothing:
// OK checks the field itself (checkFocused), Abbruch must always work.
class FieldChecks : public QObject {
 public:
  using Passes = std::function<bool()>;
  using Report = std::function<void()>;

  explicit FieldChecks(QWidget* dialog);

  void add(QLineEdit* field, Passes passes, Report report);
  void exempt(QWidget* widget);

  // Checks the field that has the focus (or had it before an exempt button
  // took it). True when it passes or no field is concerned.
  bool checkFocused();
  // checkFocused, then every other enabled field (a disabled one shows a
  // value the dialog set itself); true when all pass.
  bool checkAll();
  // Runs the check of `field` with the rules above; true = passes.
  bool check(QLineEdit* field);

  QLineEdit* failingField() const { return failing_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Entry {
    QLineEdit* field;
    Passes passes;
    Report report;
  };
  const Entry* entryFor(const QObject* field) const;
  bool isExempt(const QWidget* widget) const;

  QPointer<QWidget> dialog_;
  std::vector<Entry> entries_;
  std::vector<QPointer<QWidget>> exempt_;
  QPointer<QLineEdit> failing_;
  QPointer<QLineEdit> lastFocused_;
  bool reporting_ = false;
};

}  // namespace shell
