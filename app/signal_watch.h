// Ends the program the way a close does when something other than the user
// ends it: SIGTERM (log-out, shutdown), SIGHUP (its terminal closed), SIGINT
// (Ctrl+C), and the loss of the display, after which Qt's platform plugin
// ends the process with exit() and no window is closed.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace pagoro {

class SignalWatch : public QObject {
  Q_OBJECT
 public:
  // `cleanUp` runs the clean-up of a close (it must do no harm when run
  // again); `close` closes the main window. Once one of the signals has
  // arrived, both are called on the GUI thread and the event loops end with
  // 128 + the signal's number. From exit(), while this watch lives,
  // `cleanUp` alone is called. One watch at a time.
  SignalWatch(std::function<void()> close, std::function<void()> cleanUp);
  ~SignalWatch() override;
  SignalWatch(const SignalWatch&) = delete;
  // Runs the clean-up now, as exit() would, where the program is about to
  // end without it (Qt's Wayland plugin ends with _exit() on a lost
  // connection). Once only; nothing without a watch.
  static void CleanUpBeforeEnd();
  SignalWatch& operator=(const SignalWatch&) = delete;
  // True while the clean-up runs from exit() or CleanUpBeforeEnd: the
  // program is ending from inside the platform's event handling, and the
  // clean-up must not wait for events.
  static bool EndingWithoutEvents();

 private:
  void OnSignal();

  std::function<void()> close_;
  std::function<void()> clean_up_;
  std::unique_ptr<QSocketNotifier> notifier_;
  bool closing_ = false;
};

}  // namespace pagoro
