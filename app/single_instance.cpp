#include "app/single_instance.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include "app/logging.h"

namespace pagoro {
namespace {

constexpr char kCall[] = "front\n";
// How long a caller keeps trying to reach a holder that is still starting.
constexpr int kCallTimeoutMs = 3000;

QString Path(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

}  // namespace

SingleInstance::SingleInstance(std::function<void()> onCalled, QObject* parent)
    : QObject(parent), on_called_(std::move(onCalled)) {}

SingleInstance::~SingleInstance() {
  for (auto& [folder, held] : held_) delete held.server;
}

bool SingleInstance::Claim(const std::string& folder) {
  if (held_.contains(folder)) return true;
  auto lock = std::make_unique<FolderLock>(folder);
  switch (lock->state()) {
    case FolderLock::State::kHeldElsewhere:
      qCInfo(lcApp).noquote() << "book folder" << Path(folder) << "is held by another reader";
      return false;
    case FolderLock::State::kUnavailable:
      // Without a place for locks, readers go on as if each were alone.
      qCWarning(lcApp).noquote() << "no lock for" << Path(folder) << "- other readers are not seen";
      return true;
    case FolderLock::State::kTaken: break;
  }
  qCInfo(lcApp).noquote() << "holding" << Path(folder) << "| lock" << Path(lock->path());
  Held& held = held_[folder];
  held.lock = std::move(lock);
  Listen(held);
  return true;
}

void SingleInstance::Listen(Held& held) {
  const QString name = Path(held.lock->MeetingPath());
  // Whoever listened here before held the lock and has ended.
  QLocalServer::removeServer(name);
  auto* server = new QLocalServer(this);
  server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server->listen(name)) {
    qCWarning(lcApp).noquote() << "cannot listen at" << name << "-" << server->errorString();
    delete server;
    return;
  }
  connect(server, &QLocalServer::newConnection, server, [this, server] {
    while (QLocalSocket* socket = server->nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
        if (!socket->canReadLine()) return;
        if (socket->readLine() == kCall) {
          qCInfo(lcApp) << "called to the front by another reader";
          if (on_called_) on_called_();
        }
        socket->disconnectFromServer();
      });
    }
  });
  held.server = server;
}

void SingleInstance::Release(const std::string& folder) {
  const auto it = held_.find(folder);
  if (it == held_.end()) return;
  if (it->second.server != nullptr) {
    it->second.server->close();
    delete it->second.server;
  }
  held_.erase(it);  // gives the lock up
  qCInfo(lcApp).noquote() << "released" << Path(folder);
}

void SingleInstance::CallHolder(const std::string& folder) {
  const FolderLock probe(folder);
  if (probe.state() != FolderLock::State::kHeldElsewhere) return;
  const QString name = Path(probe.MeetingPath());
  // The holder listens right after taking its lock; should it be just
  // starting, its place appears a moment later.
  const QDeadlineTimer deadline(kCallTimeoutMs);
  QLocalSocket socket;
  while (true) {
    socket.connectToServer(name);
    if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) break;
    if (deadline.hasExpired()) {
      qCWarning(lcApp).noquote() << "could not call the reader that holds" << Path(folder) << "-"
                                 << socket.errorString();
      return;
    }
    QThread::msleep(50);
  }
  socket.write(kCall);
  socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()));
  // Wait for the holder to take the call (it closes), so the call isn't
  // lost when this reader ends at once.
  socket.waitForDisconnected(static_cast<int>(deadline.remainingTime()));
  qCInfo(lcApp).noquote() << "called the reader that holds" << Path(folder);
}

}  // namespace pagoro
