#include "app/signal_watch.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "app/logging.h"

namespace pagoro {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The signal handler only writes the signal's number into this pipe (the
// one thing it may safely do); the GUI thread reads it.
int g_pipe[2] = {-1, -1};
// The clean-up for exit(), while a watch lives.
std::function<void()>* g_clean_up_at_exit = nullptr;
bool g_ending_without_events = false;

extern "C" void OnSignalCaught(int signal) {
  const int saved = errno;
  const auto byte = static_cast<unsigned char>(signal);
  (void)!write(g_pipe[1], &byte, 1);
  errno = saved;
}

extern "C" void CleanUpAtExit() {
  if (g_clean_up_at_exit == nullptr) return;
  std::function<void()>* cleanUp = g_clean_up_at_exit;
  g_clean_up_at_exit = nullptr;
  qCInfo(lcApp) << "ending without a close: clean-up";
  g_ending_without_events = true;
  (*cleanUp)();
}

void SetHandler(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(signal, &action, nullptr);
}

}  // namespace

SignalWatch::SignalWatch(std::function<void()> close, std::function<void()> cleanUp)
    : close_(std::move(close)), clean_up_(std::move(cleanUp)) {
  if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    qCWarning(lcApp) << "no pipe for signals; they end the program without its clean-up";
  } else {
    notifier_ = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SignalWatch::OnSignal);
    for (const int signal : kSignals) SetHandler(signal, OnSignalCaught);
  }
  static const bool registered = std::atexit(CleanUpAtExit) == 0;
  if (registered) g_clean_up_at_exit = &clean_up_;
}

SignalWatch::~SignalWatch() {
  g_clean_up_at_exit = nullptr;
  if (!notifier_) return;
  for (const int signal : kSignals) SetHandler(signal, SIG_DFL);
  notifier_.reset();
  close(g_pipe[0]);
  close(g_pipe[1]);
  g_pipe[0] = g_pipe[1] = -1;
}

void SignalWatch::CleanUpBeforeEnd() { CleanUpAtExit(); }

bool SignalWatch::EndingWithoutEvents() { return g_ending_without_events; }

void SignalWatch::OnSignal() {
  unsigned char signal = 0;
  while (read(g_pipe[0], &signal, 1) == 1) {
    if (closing_) continue;
    closing_ = true;
    // A second signal while the clean-up runs ends the program at once.
    for (const int s : kSignals) SetHandler(s, SIG_DFL);
    qCInfo(lcApp) << "signal" << signal << "received: closing";
    g_clean_up_at_exit = nullptr;
    // The clean-up first: a window that is not shown yet (a message box
    // is up during start-up) may not get a close of its own.
    clean_up_();
    close_();
    // Ends every running event loop, a message box's too. A signal taken
    // by the loop of a box that start-up shows (before the main loop runs)
    // ends the main loop as soon as it starts: the posted call waits there.
    const int code = 128 + signal;
    QCoreApplication::exit(code);
    QMetaObject::invokeMethod(
        qApp, [code] { QCoreApplication::exit(code); }, Qt::QueuedConnection);
  }
}

}  // namespace pagoro
