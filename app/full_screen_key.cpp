#include "app/full_screen_key.h"

#include <QKeyEvent>

namespace pagoro {

FullScreenKey::FullScreenKey(std::function<bool()> toggle, QObject* parent)
    : QObject(parent), toggle_(std::move(toggle)) {}

bool FullScreenKey::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
    return QObject::eventFilter(watched, event);
  }
  const auto* key = static_cast<const QKeyEvent*>(event);
  if (key->key() != Qt::Key_F11) return false;
  // One key event reaches the window first, then the widgets it is passed
  // to: the first delivery (at the window) decides.
  if (event->type() == QEvent::KeyPress && watched->isWindowType() && !key->isAutoRepeat()) {
    taken_ = toggle_();
  }
  return taken_;
}

}  // namespace pagoro
