// DropTarget: takes files dropped from a file manager (text/uri-list) on a
// top-level window, before any widget in it (a web view would take them
// itself). Only the first dropped path counts, whole. It is read as the drag
// comes in; the drop takes it without asking the source again.
#pragma once

#include <QObject>
#include <functional>
#include <string>

class QMimeData;

namespace pagoro {

// The local path of the first URL in `data`, as the bytes of the file's
// name (which need not be UTF-8); "" when there is none or the first one is
// not a local file.
std::string FirstDroppedPath(const QMimeData* data);

class DropTarget : public QObject {
  Q_OBJECT
 public:
  // `onDrop` runs from the event loop after the drop has finished, so that
  // a message box it shows does not hold up the file manager.
  explicit DropTarget(std::function<void(const std::string& path)> onDrop,
                      QObject* parent = nullptr);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(const std::string&)> on_drop_;
  std::string entered_path_;  // the first path, as read when the drag came in
};

}  // namespace pagoro
