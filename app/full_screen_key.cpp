#include "app/full_screen_key.h"

#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include "app/logging.h"

namespace pagoro {
namespace {

// How long a request waits for the compositor's answer before the next one
// goes out regardless. The answer comes within milliseconds; this is for a
// compositor that ignores a request.
constexpr int kAnswerTimeoutMs = 2000;

Qt::WindowState Effective(Qt::WindowStates states) {
  if (states & Qt::WindowFullScreen) return Qt::WindowFullScreen;
  if (states & Qt::WindowMaximized) return Qt::WindowMaximized;
  return Qt::WindowNoState;
}

const char* Name(Qt::WindowState state) {
  switch (state) {
    case Qt::WindowFullScreen: return "full screen";
    case Qt::WindowMaximized: return "maximized";
    default: return "normal";
  }
}

}  // namespace

ReaderKey::ReaderKey(QKeyCombination combination, std::function<bool()> act, QObject* parent)
    : QObject(parent), combination_(combination), act_(std::move(act)) {}

bool ReaderKey::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
    return QObject::eventFilter(watched, event);
  }
  const auto* key = static_cast<const QKeyEvent*>(event);
  if (key->key() != combination_.key()) return false;
  // One key event reaches the window first, then the widgets it is passed
  // to: the first delivery (at the window) decides. The release is matched
  // by its key alone: the modifier may be let go of first.
  if (event->type() == QEvent::KeyPress && watched->isWindowType() && !key->isAutoRepeat()) {
    const Qt::KeyboardModifiers held = key->modifiers() & ~Qt::KeypadModifier;
    taken_ = held == combination_.keyboardModifiers() && act_();
  }
  return taken_;
}

WindowStates::WindowStates(QWidget* window, bool onWayland, QObject* parent)
    : QObject(parent), window_(window), one_at_a_time_(onWayland) {
  answer_timeout_.setSingleShot(true);
  answer_timeout_.setInterval(kAnswerTimeoutMs);
  connect(&answer_timeout_, &QTimer::timeout, this, [this] {
    qCInfo(lcApp) << "window state: no answer from the compositor, going on";
    waiting_ = false;
    if (wanted_ != asked_) Next();
  });
}

void WindowStates::Show(Qt::WindowState state) {
  if (!one_at_a_time_) {
    wanted_ = asked_ = state;
    Ask(state);
    return;
  }
  if (!watching_ && window_->windowHandle() != nullptr) {
    watching_ = true;
    shown_ = Effective(window_->windowHandle()->windowStates());
    asked_ = shown_;
    window_->windowHandle()->installEventFilter(this);
  }
  wanted_ = state;
  Next();
}

Qt::WindowState WindowStates::Wanted() const {
  if (one_at_a_time_ && (waiting_ || wanted_ != asked_)) return wanted_;
  return Effective(window_->windowState());
}

bool WindowStates::Sized() const {
  if (!one_at_a_time_ || !watching_) return Effective(window_->windowState()) != Qt::WindowNoState;
  return shown_ != Qt::WindowNoState || asked_ != Qt::WindowNoState;
}

void WindowStates::Next() {
  if (waiting_) return;
  Qt::WindowState state = wanted_;
  if (state == Qt::WindowMaximized && shown_ == Qt::WindowFullScreen) {
    qCInfo(lcApp) << "window state: out of full screen first";
    state = Qt::WindowNoState;
  }
  if (state == shown_ && state == Effective(window_->windowState())) {
    asked_ = state;
    return;
  }
  Ask(state);
}

void WindowStates::Ask(Qt::WindowState state) {
  asked_ = state;
  waiting_ = one_at_a_time_ && state != shown_;
  if (waiting_) answer_timeout_.start();
  switch (state) {
    case Qt::WindowFullScreen: window_->showFullScreen(); break;
    case Qt::WindowMaximized: window_->showMaximized(); break;
    default: window_->showNormal(); break;
  }
}

bool WindowStates::eventFilter(QObject* watched, QEvent* event) {
  // A spontaneous change of state is the compositor's: its answer to a
  // request, or a change of its own.
  if (event->type() != QEvent::WindowStateChange || !event->spontaneous() ||
      watched != window_->windowHandle()) {
    return QObject::eventFilter(watched, event);
  }
  const Qt::WindowState before = shown_;
  shown_ = Effective(window_->windowHandle()->windowStates());
  if (shown_ != before) qCInfo(lcApp) << "window state shown:" << Name(shown_);
  if (!waiting_) {
    if (wanted_ == asked_) wanted_ = asked_ = shown_;
  } else if (shown_ == asked_) {
    waiting_ = false;
    answer_timeout_.stop();
    // After the window has taken this answer in (its new size among it).
    QTimer::singleShot(0, this, &WindowStates::Next);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace pagoro
