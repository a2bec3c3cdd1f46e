// pagoro-drag-source FILE...: a small window that, when the left button is
// pressed on it, drags the given files (text/uri-list) as a file manager
// does, then ends. For the end-to-end tests of dropped books.
//
// Like a file manager, it lives on after the drop until the target says it
// has finished with the data (XdndFinished), at most kFinishWaitMs: Qt's drag
// returns as soon as it has sent the drop, and a source that ended then
// would leave a target that reads the data at the drop waiting out Qt's
// 5 s for an answer.
#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kFinishWaitMs = 10000;

// Sees the target's XdndFinished arrive (Qt handles it as well).
class FinishedWatch : public QAbstractNativeEventFilter {
 public:
  explicit FinishedWatch(xcb_connection_t* connection) {
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, 12, "XdndFinished");
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    if (reply) atom_ = reply->atom;
  }

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr* /*result*/) override {
    if (type != "xcb_generic_event_t" || atom_ == XCB_ATOM_NONE) return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
    if (static_cast<const xcb_client_message_event_t*>(message)->type != atom_) return false;
    finished = true;
    qInfo("drag-source: the target has finished");
    if (waiting) QApplication::quit();
    return false;
  }

  bool finished = false;
  bool waiting = false;

 private:
  xcb_atom_t atom_ = XCB_ATOM_NONE;
};

class DragSource : public QWidget {
 public:
  DragSource(QList<QUrl> urls, FinishedWatch* watch) : urls_(std::move(urls)), watch_(watch) {
    setWindowTitle(QStringLiteral("pagoro-drag-source"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    resize(120, 120);
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    auto* data = new QMimeData;
    data->setUrls(urls_);
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    const Qt::DropAction done = drag->exec(Qt::CopyAction);
    qInfo("drag-source: finished with action %d", static_cast<int>(done));
    if (watch_ == nullptr || watch_->finished || done == Qt::IgnoreAction) {
      QApplication::quit();
      return;
    }
    watch_->waiting = true;
    QTimer::singleShot(kFinishWaitMs, qApp, [] {
      qInfo("drag-source: the target never finished");
      QApplication::quit();
    });
  }

 private:
  QList<QUrl> urls_;
  FinishedWatch* watch_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::unique_ptr<FinishedWatch> watch;
  if (auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>()) {
    watch = std::make_unique<FinishedWatch>(x11->connection());
    app.installNativeEventFilter(watch.get());
  }
  QList<QUrl> urls;
  // Each name's bytes escaped, as a file manager sends a name that is no
  // UTF-8 (QUrl::fromLocalFile would replace such bytes).
  for (int i = 1; i < argc; ++i)
    urls << QUrl::fromEncoded("file://" + QByteArray(argv[i]).toPercentEncoding("/"));
  DragSource source(urls, watch.get());
  source.move(0, 0);
  source.show();
  return QApplication::exec();
}
