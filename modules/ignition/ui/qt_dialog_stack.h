#pragma once

#include <QPointer>
#include <cstdint>
#include <vector>

class QDialog;

namespace shell {
class TabHostWindow;
}

namespace ignition {

class IgnitionDialog;

// The ignition page's open sub-dialogs, innermost last, each under its
// dialog key. With a tab host the dialogs run through its runSubDialog and
// their commands take the host's route (key -> owning page -> here); without
// one (a dialog on its own in a test) they run and are served directly.
class DialogStack {
 public:
  void setHost(shell::TabHostWindow* host) { host_ = host; }
  shell::TabHostWindow* host() const { return host_; }

  // Runs `dialog` modally under `key`; the dialog's result.
  int run(int32_t key, QDialog& dialog);

  // A command from one of the dialogs' controls.
  void send(IgnitionDialog& from, int32_t command);
  // A command the tab host routed to the page for `key`. 0 = handled.
  int32_t handleCommand(int32_t key, int32_t command);

  // The dialog open under `key`, or nullptr.
  QDialog* openDialog(int32_t key) const;

 private:
  struct Open {
    int32_t key;
    QPointer<QDialog> dialog;
  };
  shell::TabHostWindow* host_ = nullptr;
  std::vector<Open> open_;
};

}  // namespace ignition
