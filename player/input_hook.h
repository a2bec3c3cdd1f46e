// TApplicationEvents: the application-wide input hook. It sees the events the
// platform delivers to the program's windows before any widget does, picks out
// the right-button press and the Escape release, and lets its owner decide
// whether to drop them.
//
// A Qt application event filter sees one physical event several times: first
// at the top-level QWindow that the platform delivers it to, then at each
// widget it is forwarded to (and inside a web view once more). Only the first
// delivery, the spontaneous one at a QWindow, counts; dropping it there keeps
// it from every widget, and no context-menu event is made from a dropped
// right press.
#pragma once

#include <QObject>
#include <functional>

class QEvent;

namespace pagoro {

enum class HookEvent {
  kOther,                  // passes
  kRightPress,             // the right mouse button went down
  kRightDoubleClick,       // the double-click Qt adds after a second right press
  kEscapeRelease,          // the Escape key was released
  kRepeatedEscapeRelease,  // a synthetic release of a held Escape key (auto-repeat)
};

// What `event`, delivered to `receiver`, is to the hook.
HookEvent ClassifyHookEvent(const QObject* receiver, const QEvent* event);

class TApplicationEvents : public QObject {
  Q_OBJECT
 public:
  // Called for every event that is not kOther; setting `handled` drops it.
  using MessageHandler = std::function<void(HookEvent kind, bool& handled)>;

  explicit TApplicationEvents(QObject* parent = nullptr);

  void SetOnMessage(MessageHandler handler) { on_message_ = std::move(handler); }

  // While a Suspension lives (a modal error box is up) every event passes.
  class Suspension {
   public:
    explicit Suspension(TApplicationEvents& hook) : hook_(hook) { ++hook_.suspended_; }
    ~Suspension() { --hook_.suspended_; }
    Suspension(const Suspension&) = delete;
    Suspension& operator=(const Suspension&) = delete;

   private:
    TApplicationEvents& hook_;
  };

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  MessageHandler on_message_;
  int suspended_ = 0;
};

}  // namespace pagoro
