// ReaderKey: one of the reader's own keys (F11, Ctrl+O, F1), taken
// application-wide before any widget (the movie never sees it). A press acts
// once (the keyboard's repeats don't); the release is dropped as well.
//
// FullScreenKey: F11, which toggles full screen.
//
// WindowStates: how the window's states (normal, maximized, full screen)
// are asked of the window system, whoever asks (F11, Escape, the movie).
#pragma once

#include <QKeyCombination>
#include <QObject>
#include <QTimer>
#include <functional>

class QWidget;

namespace pagoro {

class ReaderKey : public QObject {
  Q_OBJECT
 public:
  // `act` returns false when the key is not the window's now (nothing plays
  // yet, a dialog is up): the key then passes on. The modifiers must be
  // exactly those of `combination`.
  ReaderKey(QKeyCombination combination, std::function<bool()> act, QObject* parent = nullptr);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const QKeyCombination combination_;
  std::function<bool()> act_;
  bool taken_ = false;  // the press was taken, so its release and repeats are too
};

class FullScreenKey : public ReaderKey {
  Q_OBJECT
 public:
  explicit FullScreenKey(std::function<bool()> toggle, QObject* parent = nullptr)
      : ReaderKey(QKeyCombination(Qt::Key_F11), std::move(toggle), parent) {}
};

// On X11 a state is asked for at once. A Wayland compositor answers each
// request with a configure event, and Qt measures a new request against the
// state last configured, not the one asked for: two requests in flight
// together can reach the compositor as a pair it configures wrongly. So on
// Wayland one request goes out at a time, each once the compositor has
// answered the one before (the states wanted meanwhile: only the latest),
// and full screen is left for the maximized state by way of the normal
// state: asked to leave full screen and maximize at once, Weston configures
// a maximized state of no size, and the window's next frame (of its full
// screen size) then ends the connection with a protocol error.
class WindowStates : public QObject {
  Q_OBJECT
 public:
  // `onWayland`: the one-at-a-time way, else at once.
  WindowStates(QWidget* window, bool onWayland, QObject* parent = nullptr);

  // Qt::WindowNoState, Qt::WindowMaximized or Qt::WindowFullScreen.
  void Show(Qt::WindowState state);
  // The state asked for last, whether or not the window has it yet.
  Qt::WindowState Wanted() const;
  // True while the window is, or is about to be, maximized or full screen:
  // the window system holds it to its size then.
  bool Sized() const;

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Next();
  void Ask(Qt::WindowState state);

  QWidget* window_;
  const bool one_at_a_time_;
  bool watching_ = false;  // the window's handle is filtered
  Qt::WindowState wanted_ = Qt::WindowNoState;
  Qt::WindowState asked_ = Qt::WindowNoState;  // of the compositor, last
  Qt::WindowState shown_ = Qt::WindowNoState;  // as the compositor said last
  bool waiting_ = false;                       // for the answer to asked_
  // A compositor that never answers (a state it refuses) holds nothing up.
  QTimer answer_timeout_;
};

}  // namespace pagoro
