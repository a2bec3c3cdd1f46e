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
//
// A held key repeats as release/press pairs on X11. Qt flags them as
// auto-repeat only when the press is already queued as the release is
// handled, which under load it often is not. So an Escape release counts as
// the key's real release only when no Escape press follows within a short
// grace time; the owner hears of it then (kEscapeReleased).
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

class QEvent;

namespace pagoro {

enum class HookEvent {
  kOther,             // passes
  kRightPress,        // the right mouse button went down
  kRightDoubleClick,  // the double-click Qt adds after a second right press
  kEscapeDown,        // the Escape key went down (also as auto-repeat)
  kEscapeUp,          // an Escape key release event, real or repeated
  kEscapeUpOfBox,     // the release of an Escape pressed while suspended (closing a box)
  kEscapeReleased,    // the Escape key was really released (reported late, no event)
};

// What `event`, delivered to `receiver`, is to the hook. Never kEscapeReleased.
HookEvent ClassifyHookEvent(const QObject* receiver, const QEvent* event);

class TApplicationEvents : public QObject {
  Q_OBJECT
 public:
  // Called for kRightPress, kRightDoubleClick, kEscapeUp, kEscapeUpOfBox
  // (setting `handled` drops the event) and kEscapeReleased (no event; `handled` is ignored).
  using MessageHandler = std::function<void(HookEvent kind, bool& handled)>;

  static constexpr std::chrono::milliseconds kDefaultRepeatGrace{120};

  explicit TApplicationEvents(QObject* parent = nullptr,
                              std::chrono::milliseconds repeatGrace = kDefaultRepeatGrace);

  void SetOnMessage(MessageHandler handler) { on_message_ = std::move(handler); }

  // While a Suspension lives (a modal error box is up) every event passes.
  // An Escape pressed then (closing the box) is not the owner's: its
  // release, which may come after the box has gone, is reported as
  // kEscapeUpOfBox, never followed by kEscapeReleased.
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
  void EscapeSettled();

  MessageHandler on_message_;
  int suspended_ = 0;
  QTimer escape_release_;       // runs while a release may still turn out a repeat
  bool escape_of_box_ = false;  // the Escape held went down during a suspension
};

}  // namespace pagoro
