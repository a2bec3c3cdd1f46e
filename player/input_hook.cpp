#include "player/input_hook.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace pagoro {

HookEvent ClassifyHookEvent(const QObject* receiver, const QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease: break;
    default:
      // Most events end here, before the receiver is looked at: the filter
      // also sees objects that are half destroyed.
      return HookEvent::kOther;
  }
  // The platform's own delivery goes to a QWindow and is spontaneous; the
  // copies forwarded to widgets and to a web view's inner window are not both.
  if (receiver == nullptr || !event->spontaneous() || !receiver->isWindowType()) {
    return HookEvent::kOther;
  }
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      return static_cast<const QMouseEvent*>(event)->button() == Qt::RightButton
                 ? HookEvent::kRightPress
                 : HookEvent::kOther;
    case QEvent::MouseButtonDblClick:
      return static_cast<const QMouseEvent*>(event)->button() == Qt::RightButton
                 ? HookEvent::kRightDoubleClick
                 : HookEvent::kOther;
    case QEvent::KeyPress:
      return static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape ? HookEvent::kEscapeDown
                                                                           : HookEvent::kOther;
    case QEvent::KeyRelease:
      return static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape ? HookEvent::kEscapeUp
                                                                           : HookEvent::kOther;
    default: return HookEvent::kOther;
  }
}

TApplicationEvents::TApplicationEvents(QObject* parent, std::chrono::milliseconds repeatGrace)
    : QObject(parent) {
  escape_release_.setSingleShot(true);
  escape_release_.setInterval(repeatGrace);
  connect(&escape_release_, &QTimer::timeout, this, &TApplicationEvents::EscapeSettled);
}

bool TApplicationEvents::eventFilter(QObject* watched, QEvent* event) {
  if (!on_message_) return false;
  const HookEvent kind = ClassifyHookEvent(watched, event);
  if (suspended_ > 0) {
    // The box closes on the press; the release may come to the window.
    if (kind == HookEvent::kEscapeDown) escape_of_box_ = true;
    return false;
  }
  switch (kind) {
    case HookEvent::kOther: return false;
    case HookEvent::kEscapeDown:
      // A press right after a release: the key is still held.
      escape_release_.stop();
      escape_of_box_ = false;
      return false;
    case HookEvent::kEscapeUp:
      if (static_cast<const QKeyEvent*>(event)->isAutoRepeat()) {
        escape_release_.stop();
        break;
      }
      if (escape_of_box_) {
        // The release of a press that closed a box: no Escape of the window.
        escape_of_box_ = false;
        bool handled = false;
        on_message_(HookEvent::kEscapeUpOfBox, handled);
        return handled;
      }
      escape_release_.start();
      break;
    default: break;
  }
  bool handled = false;
  on_message_(kind, handled);
  return handled;
}

void TApplicationEvents::EscapeSettled() {
  if (suspended_ > 0 || !on_message_) return;
  bool handled = false;
  on_message_(HookEvent::kEscapeReleased, handled);
}

}  // namespace pagoro
