// SingleInstance: one reader per book among this user's running readers.
// Each book folder this reader uses is held by a FolderLock, and beside the
// lock the reader listens for others: a reader that finds the folder taken
// calls the holder, which brings its window to the front.
#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "core/book_opener.h"
#include "core/folder_lock.h"

class QLocalServer;
class QLocalSocket;

namespace pagoro {

class SingleInstance : public QObject, public FolderClaims {
  Q_OBJECT
 public:
  // `onCalled` runs on the GUI thread when another reader asks this one to
  // come to the front.
  explicit SingleInstance(std::function<void()> onCalled, QObject* parent = nullptr);
  ~SingleInstance() override;

  // FolderClaims
  bool Claim(const std::string& folder) override;
  void Release(const std::string& folder) override;
  void CallHolder(const std::string& folder) override;
  void NameBook(const std::string& folder, const std::string& bookPath) override;
  std::string HolderBook(const std::string& folder) override;

 private:
  struct Held {
    std::unique_ptr<FolderLock> lock;
    QLocalServer* server = nullptr;
  };
  void Listen(Held& held);
  // Takes one client's call: one message of kMaxHandOverMessage bytes at
  // most, said within a deadline, a few clients at once; the rest are
  // dropped, each kind logged once.
  void Serve(QLocalSocket* socket);
  static void DropOnce(bool& logged, const char* why);

  std::function<void()> on_called_;
  std::map<std::string, Held> held_;
  int clients_ = 0;  // being served now
  bool crowd_logged_ = false;
  bool slow_logged_ = false;
  bool unknown_logged_ = false;
  bool long_logged_ = false;
};

}  // namespace pagoro
