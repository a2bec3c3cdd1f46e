// pagoro-drag-source FILE...: a small window that, when the left button is
// pressed on it, drags the given files (text/uri-list) as a file manager
// does, then ends. For the end-to-end tests of dropped books.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

namespace {

class DragSource : public QWidget {
 public:
  explicit DragSource(QList<QUrl> urls) : urls_(std::move(urls)) {
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
    QApplication::quit();
  }

 private:
  QList<QUrl> urls_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QList<QUrl> urls;
  // Each name's bytes escaped, as a file manager sends a name that is no
  // UTF-8 (QUrl::fromLocalFile would replace such bytes).
  for (int i = 1; i < argc; ++i)
    urls << QUrl::fromEncoded("file://" + QByteArray(argv[i]).toPercentEncoding("/"));
  DragSource source(urls);
  source.move(0, 0);
  source.show();
  return QApplication::exec();
}
