#include "player/input_hook.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace pagoro {

HookEvent ClassifyHookEvent(const QObject* receiver, const QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyRelease:
      break;
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
    case QEvent::KeyRelease: {
      const auto* key = static_cast<const QKeyEvent*>(event);
      if (key->key() != Qt::Key_Escape) return HookEvent::kOther;
      return key->isAutoRepeat() ? HookEvent::kRepeatedEscapeRelease : HookEvent::kEscapeRelease;
    }
    default:
      return HookEvent::kOther;
  }
}

TApplicationEvents::TApplicationEvents(QObject* parent) : QObject(parent) {}

bool TApplicationEvents::eventFilter(QObject* watched, QEvent* event) {
  if (suspended_ > 0 || !on_message_) return false;
  const HookEvent kind = ClassifyHookEvent(watched, event);
  if (kind == HookEvent::kOther) return false;
  bool handled = false;
  on_message_(kind, handled);
  return handled;
}

}  // namespace pagoro
