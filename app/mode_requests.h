// ModeRequests: the movie's requests for full screen or the window,
// coalesced. Each switch of mode is work for the window manager and the web
// view; a movie asking for one every frame, or thousands a second, would
// keep the window busy with nothing else, past a close. A request after a
// quiet spell is carried out at once; the requests that follow within
// kInterval of a switch make one switch, to the mode asked for last, when
// the interval is over.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

namespace pagoro {

class ModeRequests : public QObject {
  Q_OBJECT
 public:
  // Five switches a second at most: a mode button still answers at once,
  // and a flood costs the window little.
  static constexpr std::chrono::milliseconds kInterval{200};

  // `apply(maximized)` switches the window.
  explicit ModeRequests(std::function<void(bool maximized)> apply, QObject* parent = nullptr);

  void Request(bool maximized);
  // Forgets a request not carried out yet: the mode was set otherwise.
  void Cancel();

 private:
  void Apply();

  std::function<void(bool)> apply_;
  QTimer timer_;
  QElapsedTimer since_switch_;
  bool wanted_maximized_ = true;
};

}  // namespace pagoro
