#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "link/module_link.h"
#include "modules/ignition/ignition_page.h"
#include "modules/ignition/qt_dialog_stack.h"
#include "shell/main_window.h"
#include "shell/module_page.h"
#include "shell/qt_controls.h"
#include "shell/scripted_prompts.h"
#include "shell/settings_file.h"
#include "sim/bus.h"
#include "sim/sim_device.h"
#include "sim/virtual_clock.h"

class QLineEdit;
class QWidget;

// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

namespace igntest {

// XDG_CONFIG_HOME in a fresh temporary folder for the whole run.
void useTemporaryConfigHome();

struct TempFolder {
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string path;
};

// Runs `action` on the next modal dialog as soon as it is up, from inside
// its own event loop, so that a test never blocks on exec(). A dialog that
// never comes leaves the test's own checks to fail.
void onNextModal(std::function<void(QWidget* modal)> action);
// The same for a modal dialog opened from within `outer`.
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

// An ignition with distinct curves and limiter, so that a read visibly
// changes a new page.
sim::Scenario readableScenario();

// The program's window with the ignition page on an in-process bus, scripted
// prompts and a settings file in a temporary folder.
struct PageBench {
  explicit PageBench(const sim::Scenario& scenario = readableScenario());
  ~PageBench();

  QWidget* pageWidget() const { return page->widget(); }
  void click(int32_t id) const;
  std::vector<QString> entries(int32_t listId) const;

  TempFolder folder;
  std::unique_ptr<shell::SettingsFile> settings;
  sim::VirtualClock clock;
  std::unique_ptr<sim::Bus> bus;
  std::unique_ptr<buslink::ModuleLink> link;
  shell::ScriptedPrompts prompts;
  std::vector<std::unique_ptr<shell::ModulePage>> pages;
  ignition::IgnitionPage* page = nullptr;
  std::unique_ptr<shell::MainWindow> window;
};

// A dialog on its own: the stack serves its commands directly.
struct DialogBench {
  DialogBench();
  ignition::DialogStack stack;
  shell::ScriptedPrompts prompts;
  ignition::IgnitionState state;
};

// A picture of `widget` in the build tree's screenshot folder.
bool saveShot(QWidget* widget, const QString& name);

}  // namespace igntest
