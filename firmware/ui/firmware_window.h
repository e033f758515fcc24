#pragma once

#include <QDialog>
#include <QPointer>
#include <atomic>
#include <memory>
#include <string>

#include "firmware/firmware_update.h"
#include "shell/file_dialog.h"

class QCheckBox;
class QListWidget;
class QPushButton;

namespace shell {
class DialogTable;
class WaitWindow;
}  // namespace shell

namespace firmware {

// Dialog 7900: the firmware update. The procedure's worker never touches
// the window: its posts and progress steps arrive here queued, on the
// window's thread.
class FirmwareWindow : public QDialog, private UpdateView {
 public:
  static constexpr int32_t kDialogKey = 7900;
  static constexpr int32_t kStepList = 7901;
  static constexpr int32_t kActiveBox = 7902;
  static constexpr int32_t kProgramButton = 7903;
  static constexpr int32_t kLoadButton = 7904;
  static constexpr int kLineChars = 49;

  // Loading starts as soon as the window runs.
  FirmwareWindow(buslink::BootLink& bootLink, buslink::ModuleLink& moduleLink,
                 std::string firmwareFolder, SettingsBackup backup, QWidget* parent);
  ~FirmwareWindow() override;

  FirmwareUpdate& update() { return *update_; }
  QListWidget* stepList() const;
  QCheckBox* activeBox() const;
  QPushButton* programButton() const;
  QPushButton* loadButton() const;
  // Closing: ends a waiting worker first.
  void reject() override;

 private:
  void addToList(const std::string& text, bool withTime) override;
  void clearList() override;
  void showMessage(const std::string& text) override;
  bool askYesNo(const std::string& text) override;
  bool askText(const std::string& prompt, std::string& text, size_t maxChars) override;
  bool chooseFile(std::string& path) override;
  void openWaitWindow(int32_t steps, int32_t textId) override;
  void stepWaitWindow() override;
  void closeWaitWindow() override;
  void showProgramButton(bool shown) override;
  void setActiveBox(bool enabled, bool checked) override;
  void post(const WorkerPost& message) override;

  std::unique_ptr<shell::DialogTable> table_;
  shell::FileDialog files_;
  std::unique_ptr<FirmwareUpdate> update_;
  QPointer<shell::WaitWindow> wait_;
  std::atomic<bool> closing_{false};
};

}  // namespace firmware
