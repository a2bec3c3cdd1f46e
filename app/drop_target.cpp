#include "app/drop_target.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "app/logging.h"

namespace pagoro {

QString FirstDroppedPath(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  const QList<QUrl> urls = data->urls();
  if (urls.isEmpty() || !urls.front().isLocalFile()) return {};
  return urls.front().toLocalFile();
}

DropTarget::DropTarget(std::function<void(const QString&)> onDrop, QObject* parent)
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
    case QEvent::DragLeave:
      entered_path_.clear();
      return true;
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      QString path = FirstDroppedPath(drop->mimeData());
      if (path.isEmpty()) path = entered_path_;
      entered_path_.clear();
      qCInfo(lcApp).noquote() << "dropped:" << path;
      drop->acceptProposedAction();
      if (!path.isEmpty()) {
        QTimer::singleShot(0, this, [this, path] { on_drop_(path); });
      }
      return true;
    }
    default:
      return QObject::eventFilter(watched, event);
  }
}

}  // namespace pagoro
