#pragma once

// What every GUI test suite needs: private folders, waiting on the event
// loop, driving modal dialogs from inside their own loop, typing into fields
// as a user does, and pictures of what a user sees.
#include <QString>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "shell/ui/qt_controls.h"

class QLineEdit;
class QWidget;

// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

namespace uitest {

// Points XDG_CONFIG_HOME at a fresh temporary folder for the whole run, so
// that COM links and settings stay out of the user's folders.
void useTemporaryConfigHome();
std::string configHome();
// The folder of COM links the program looks at first.
std::string portsFolder();

struct TempFolder {
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string path;
};

// Lets the event loop run until `condition` holds; false on time-out.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000);

// Runs `action` on the next modal dialog as soon as it is up, from inside
// its own event loop, so a test never blocks on exec(). A dialog that never
// comes leaves the test's own checks to fail.
void onNextModal(std::function<void(QWidget* modal)> action);
// The same for a modal dialog that is opened from within `outer`.
void onNestedModal(QWidget* outer, std::function<void(QWidget* modal)> action);

template <class T>
T* control(const QWidget* dialog, int32_t id) {
  return qobject_cast<T*>(shell::findControl(dialog, id));
}

// Shows `window` and makes it the active one, so that focus changes inside
// it reach the widgets as they do for a user.
void activate(QWidget* window);
// Moves the focus from `field` to `next` as a Tab would, and lets the
// queued field check run.
void leave(QLineEdit* field, QWidget* next);
// Types `text` into `field` (replacing what it holds) and leaves it for `next`.
void typeAndLeave(QLineEdit* field, const QString& text, QWidget* next);
void setText(const QWidget* dialog, int32_t id, const QString& text);
QString text(const QWidget* dialog, int32_t id);
void click(const QWidget* dialog, int32_t id);

// The folder for this suite's pictures; set once by the test main.
void setScreenshotFolder(const QString& folder);
// A picture of `widget` as `name`.png in the screenshot folder.
bool saveShot(QWidget* widget, const QString& name);

}  // namespace uitest
