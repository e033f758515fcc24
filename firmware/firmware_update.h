#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "link/boot_link.h"
#include "link/module_link.h"

// The update procedure behind the firmware window: loading a file, the
// passive mode, the active start and the programming worker. No window code:
// the window (or the command line) implements UpdateView and hands the
// worker's posts back on its own thread.
namespace firmware {

// What the worker posts to the window thread.
struct WorkerPost {
  enum Kind { kResult = 7905, kConfirm = 7906 };
  Kind kind = kResult;
  int32_t textId = 0;
  int32_t value = 0;
};

class UpdateView {
 public:
  virtual ~UpdateView() = default;
  // The step list: optionally the time as a line of its own, then the text
  // in lines of at most 49 characters.
  virtual void addToList(const std::string& text, bool withTime) = 0;
  virtual void clearList() = 0;
  // Message box (OK) and question (Yes/No) titled "BootLoader".
  virtual void showMessage(const std::string& text) = 0;
  virtual bool askYesNo(const std::string& text) = 0;
  // At most maxChars characters; false = cancelled.
  virtual bool askText(const std::string& prompt, std::string& text, size_t maxChars) = 0;
  virtual bool chooseFile(std::string& path) = 0;
  virtual void openWaitWindow(int32_t steps, int32_t textId) = 0;
  // From the worker thread.
  virtual void stepWaitWindow() = 0;
  virtual void closeWaitWindow() = 0;
  virtual void showProgramButton(bool shown) = 0;
  virtual void setActiveBox(bool enabled, bool checked) = 0;
  // From the worker thread: must reach FirmwareUpdate::handlePost on the
  // window thread, queued, never called directly.
  virtual void post(const WorkerPost& message) = 0;
};

// Reads a module's settings as its page's "Lesen" does and saves them into
// `folder` before an active start: 0 or a text ID (already shown to the
// user); `fileName` names the file written.
using SettingsBackup = std::function<int32_t(buslink::ModuleLink& link, const std::string& folder,
                                             std::string& fileName)>;

class FirmwareUpdate {
 public:
  FirmwareUpdate(buslink::BootLink& bootLink, buslink::ModuleLink& moduleLink, UpdateView& view,
                 std::string firmwareFolder);
  ~FirmwareUpdate();
  FirmwareUpdate(const FirmwareUpdate&) = delete;
  FirmwareUpdate& operator=(const FirmwareUpdate&) = delete;

  // The window opens: the module link's port is closed, the bootloader link
  // takes its port number, then "Laden".
  void open();
  // "Laden" with a chosen path (the window runs the file dialog first).
  void load();
  void loadPath(const std::string& path);
  void setPassive(bool on);
  // "Programm".
  void activeStart();
  // Window thread: the worker's posts, queued by the view.
  void handlePost(const WorkerPost& message);
  // The window closes: aborts and waits for the worker.
  void close();

  // Only asked for files whose family is the ignition's.
  void setSettingsBackup(SettingsBackup backup) { backup_ = std::move(backup); }

  bool workerRunning() const { return !workerIdle_.load(); }
  // A file has been loaded and may be programmed.
  bool loaded() const { return loaded_; }
  // Bootloaders the worker has dealt with (programmed, refused or failed).
  int attemptsOver() const { return attemptsOver_.load(); }
  // The last result text posted (8087 after a successful update).
  int32_t lastResult() const { return lastResult_.load(); }
  uint32_t moduleSerial() const { return serial_.load(); }
  const std::string& firmwareFolder() const { return folder_; }

  // "Bootloader: V%01x.%02x" and the version lines, and the question.
  std::string confirmationLines() const;
  std::string confirmationQuestion() const;
  bool fileIsOlder() const;
  bool ignitionCheckAsks() const;

 private:
  void startWorker();
  void worker();
  void attempt();
  bool findDefectiveModule();
  bool backupSettings(std::string& fileName);
  int32_t identifyAndRestart(const std::string& settingsFile);
  void showError(int32_t textId);

  buslink::BootLink& boot_;
  buslink::ModuleLink& link_;
  UpdateView& view_;
  std::string folder_;
  SettingsBackup backup_;
  std::thread thread_;
  std::atomic<bool> workerIdle_{true};
  std::atomic<int32_t> lastResult_{0};
  std::atomic<int> attemptsOver_{0};
  bool loaded_ = false;
  std::atomic<uint32_t> serial_{0};
};

}  // namespace firmware
