#include "firmware_update_command.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <ostream>

#include "cli_commands.h"
#include "cli_prompts.h"
#include "firmware/firmware_file.h"
#include "firmware/firmware_update.h"
#include "ignition_commands.h"
#include "link/boot_link.h"
#include "modules/ignition/settings_backup.h"
#include "shell/folders.h"
#include "texts/firmware_update_text_ids.h"
#include "texts/text_table.h"

namespace cli {

namespace {

struct Options {
  std::string file;
  bool yes = false;
  bool passive = false;
  bool backup = false;
  std::optional<std::string> serial;
  std::optional<std::string> type;
};

std::string parse(const std::vector<std::string>& args, Options& o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--yes") {
      o.yes = true;
    } else if (a == "--passive") {
      o.passive = true;
    } else if (a == "--backup") {
      o.backup = true;
    } else if (a == "--serial" || a == "--type") {
      if (!hasValue) return a + " needs a value";
      (a == "--serial" ? o.serial : o.type) = args[++i];
    } else if (!a.empty() && a[0] == '-') {
      return "unexpected argument for firmware update: " + a;
    } else if (o.file.empty()) {
      o.file = a;
    } else {
      return "firmware update takes one FILE";
    }
  }
  if (o.file.empty()) return "firmware update needs a FILE";
  return {};
}

// The firmware window on a terminal: the step list and the messages on
// standard output, progress on standard error, questions answered from the
// options, and the worker's posts handed back on the main thread.
class TerminalView : public firmware::UpdateView {
 public:
  TerminalView(const Options& o, std::ostream& out, std::ostream& err)
      : o_(o), out_(out), err_(err) {}

  // The step list goes with the progress; messages and questions are the
  // output.
  void addToList(const std::string& text, bool) override { err_ << text << "\n"; }
  void clearList() override {}
  void showMessage(const std::string& text) override { out_ << text << "\n"; }
  bool askYesNo(const std::string& text) override {
    const bool answer = text == texts::text(texts::kTextBackupSettingsFirst) ? o_.backup : o_.yes;
    out_ << text << "\n-> " << (answer ? "Ja" : "Nein") << "\n";
    return answer;
  }
  bool askText(const std::string& prompt, std::string& text, size_t maxChars) override {
    const bool serial = prompt == texts::text(texts::kTextEnterSerialOfDefective);
    const std::optional<std::string>& given = serial ? o_.serial : o_.type;
    out_ << prompt << "\n-> " << given.value_or("(Abbruch)") << "\n";
    if (!given) return false;
    text = given->substr(0, maxChars);
    return true;
  }
  bool chooseFile(std::string& path) override {
    path = o_.file;
    return true;
  }
  void openWaitWindow(int32_t steps, int32_t textId) override {
    steps_ = steps > 0 ? steps : 1;
    done_ = 0;
    shownPercent_ = -1;
    err_ << texts::text(textId) << "\n";
  }
  void stepWaitWindow() override {
    // Only counted here: the worker may not write to the streams.
    ++done_;
    post({firmware::WorkerPost::kResult, kProgress, 0});
  }
  void closeWaitWindow() override {
    if (shownPercent_ >= 0 && isatty(STDERR_FILENO)) err_ << "\n";
    shownPercent_ = -1;
  }
  void showProgramButton(bool) override {}
  void setActiveBox(bool, bool) override {}
  void post(const firmware::WorkerPost& m) override {
    std::lock_guard lock(mutex_);
    posts_.push_back(m);
    ready_.notify_one();
  }

  // Hands the posts to the update until `done` holds and the worker's posts
  // are all handled.
  template <typename Done>
  void pump(firmware::FirmwareUpdate& update, Done done) {
    for (;;) {
      std::unique_lock lock(mutex_);
      ready_.wait_for(lock, std::chrono::milliseconds(20), [this] { return !posts_.empty(); });
      if (posts_.empty()) {
        if (done()) return;
        continue;
      }
      const firmware::WorkerPost m = posts_.front();
      posts_.pop_front();
      lock.unlock();
      if (m.textId == kProgress) {
        showProgress();
      } else {
        update.handlePost(m);
      }
    }
  }

 private:
  static constexpr int32_t kProgress = -1;

  void showProgress() {
    const int percent = static_cast<int>(done_.load() * 100 / steps_);
    if (percent / 10 == shownPercent_ / 10 && shownPercent_ >= 0) return;
    shownPercent_ = percent;
    // A terminal shows one line that counts up; a log gets a line each.
    err_ << (isatty(STDERR_FILENO) ? "\r" : "") << percent << " %"
         << (isatty(STDERR_FILENO) ? "" : "\n") << std::flush;
  }

  const Options& o_;
  std::ostream& out_;
  std::ostream& err_;
  int32_t steps_ = 1;
  std::atomic<int32_t> done_{0};
  int shownPercent_ = -1;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<firmware::WorkerPost> posts_;
};

}  // namespace

int32_t runFirmwareUpdate(buslink::ModuleLink& link, const std::vector<std::string>& args,
                          std::ostream& out, std::ostream& err) {
  Options o;
  if (const std::string why = parse(args, o); !why.empty()) {
    err << "tunvexa-cli: " << why << "\n";
    return -1;
  }
  TerminalView view(o, out, err);
  CliPrompts prompts(out, o.yes, std::nullopt);
  buslink::BootLink boot;
  std::string folder = shell::makerDocumentsFolder();
  folder += "/Firmware";
  firmware::FirmwareUpdate update(boot, link, view, folder);
  update.setSettingsBackup(
      [&prompts](buslink::ModuleLink& l, const std::string& f, std::string& name) {
        return ignition::backupIgnitionSettings(l, prompts, f, name);
      });
  update.open();
  const int kind = firmware::imageKind(boot.image());
  if (!update.loaded()) {
    update.close();
    return kReported;  // the loading failure has been printed
  }
  if (o.passive && kind != 0) update.setPassive(true);
  if (!o.passive && kind != 0) update.activeStart();
  const bool passive = o.passive || kind == 0;
  if (passive && update.workerRunning()) err << "Warte auf Bootloader ...\n";
  // Passive: one module, then the listening ends; active: the worker ends by
  // itself.
  view.pump(update, [&] { return !update.workerRunning() || update.attemptsOver() > 0; });
  update.close();
  return update.lastResult() == texts::kTextProgrammingDone ? 0 : kReported;
}

}  // namespace cli
