// FullScreenKey: F11 for the reader's window, taken application-wide before
// any widget (the movie never sees it). A press toggles full screen, once per
// press (the keyboard's repeats don't); the release is dropped as well.
#pragma once

#include <QObject>
#include <functional>

namespace pagoro {

class FullScreenKey : public QObject {
  Q_OBJECT
 public:
  // `toggle` returns false when the key is not the window's now (nothing
  // plays yet): the key then passes on.
  explicit FullScreenKey(std::function<bool()> toggle, QObject* parent = nullptr);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<bool()> toggle_;
  bool taken_ = false;  // the press was taken, so its release and repeats are too
};

}  // namespace pagoro
