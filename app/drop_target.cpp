#include "app/drop_target.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "app/logging.h"
#include "book/cp936.h"

namespace pagoro {

std::string FirstDroppedPath(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  const QList<QUrl> urls = data->urls();
  if (urls.isEmpty() || !urls.front().isLocalFile()) return {};
  // The URL's escapes are the name's bytes. QUrl::toLocalFile would turn
  // bytes that are no UTF-8 (a name in code page 936) into U+FFFD.
  return QByteArray::fromPercentEncoding(urls.front().path(QUrl::FullyEncoded).toLatin1())
      .toStdString();
}

DropTarget::DropTarget(std::function<void(const std::string&)> onDrop, QObject* parent)
    : QObject(parent), on_drop_(std::move(onDrop)) {}

bool DropTarget::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (!drag->mimeData()->hasUrls()) {
        drag->ignore();
        return true;
      }
      // The dragged data is read while the drag goes on: at the drop, some
      // sources no longer hand it out (their selection has a newer time).
      if (event->type() == QEvent::DragEnter) entered_path_ = FirstDroppedPath(drag->mimeData());
      drag->acceptProposedAction();
      return true;
    }
    case QEvent::DragLeave: entered_path_.clear(); return true;
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      // The path read as the drag came in is the drop's: asking the source
      // again is a round trip that waits out Qt's 5 s when the source has
      // ended (or is busy) once it has sent the drop.
      std::string path = std::move(entered_path_);
      entered_path_.clear();
      if (path.empty()) path = FirstDroppedPath(drop->mimeData());
      qCInfo(lcApp).noquote() << "dropped:" << QString::fromStdString(FileNameAsUtf8(path));
      drop->acceptProposedAction();
      if (!path.empty()) {
        QTimer::singleShot(0, this, [this, path] { on_drop_(path); });
      }
      return true;
    }
    default: return QObject::eventFilter(watched, event);
  }
}

}  // namespace pagoro
