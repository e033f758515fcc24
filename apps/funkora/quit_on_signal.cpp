#include "apps/funkora/quit_on_signal.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>

namespace funkora {

namespace {

int g_pipe[2] = {-1, -1};

sigset_t quitSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

// Only a write is safe in a signal handler; the event loop does the rest.
void onSignal(int number) {
  const char byte = static_cast<char>(number);
  ssize_t n = ::write(g_pipe[1], &byte, 1);
  (void)n;
}

}  // namespace

void holdQuitSignals() {
  const sigset_t set = quitSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void closeOnQuitSignals(QWidget& window) {
  if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, &window);
  QPointer<QWidget> target(&window);
  QObject::connect(notifier, &QSocketNotifier::activated, &window, [target] {
    char bytes[16];
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
    if (target) target->close();
  });
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  const sigset_t set = quitSignals();
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

}  // namespace funkora
