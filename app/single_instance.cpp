#include "app/single_instance.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include "app/logging.h"
#include "book/errors.h"
#include "book/texts.h"
#include "core/hand_over.h"

namespace pagoro {
namespace {

// The variable that carries the desktop's activation token of a start
// (Wayland's xdg-activation); Qt's Wayland window reads it as it activates.
constexpr const char* kTokenVariable = "XDG_ACTIVATION_TOKEN";
// How long a caller keeps trying to reach a holder that is still starting.
constexpr int kCallTimeoutMs = 3000;
// A caller says its piece at once (a few bytes, right after connecting);
// 2 s is ample on a loaded machine and short enough that silent clients
// can't keep the holder's few places taken.
constexpr int kClientDeadlineMs = 2000;
// Callers at once: a user starting a book a few times quickly. The rest
// are dropped, so a flood costs no descriptors or memory.
constexpr int kMaxClients = 4;

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
      // Unlocked, a second reader of the book would empty this one's folder.
      throw Exception(Args(Tr("Reader",
                              "No lock can be taken for the magazine's folder \"%1\", so it is "
                              "not opened: another reader of yours may be using it (%2)"),
                           {folder, lock->error()}));
    case FolderLock::State::kTaken: break;
  }
  if (lock->InBookFolder()) {
    qCWarning(lcApp).noquote() << "the readers' lock folder is unusable (" << lock->error().c_str()
                               << ") - holding" << Path(folder) << "by a lock on itself";
  } else {
    qCInfo(lcApp).noquote() << "holding" << Path(folder) << "| lock" << Path(lock->path());
  }
  Held& held = held_[folder];
  held.lock = std::move(lock);
  Listen(held);
  return true;
}

void SingleInstance::Listen(Held& held) {
  const QString name = Path(held.lock->MeetingPath());
  if (name.isEmpty()) return;  // a lock without a meeting place
  // The clean-up as the process ends can run on another thread (Qt's
  // Wayland thread, when the connection is lost): it takes the lock alone.
  // Sockets belong to the GUI thread, and no one is listened for any more.
  if (QThread::currentThread() != thread()) return;
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
    while (QLocalSocket* socket = server->nextPendingConnection()) Serve(socket);
  });
  held.server = server;
}

void SingleInstance::DropOnce(bool& logged, const char* why) {
  if (logged) return;
  logged = true;
  qCWarning(lcApp) << "hand-over socket:" << why << "- dropped (further ones are not logged)";
}

void SingleInstance::Serve(QLocalSocket* socket) {
  connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  if (clients_ >= kMaxClients) {
    DropOnce(crowd_logged_, "too many clients at once");
    socket->abort();
    socket->deleteLater();
    return;
  }
  ++clients_;
  connect(socket, &QObject::destroyed, this, [this] { --clients_; });
  // QLocalSocket reads no more than this from the system; what a client
  // sends beyond it stays unread until it is dropped.
  socket->setReadBufferSize(static_cast<qint64>(kMaxHandOverMessage));
  QTimer::singleShot(kClientDeadlineMs, socket, [this, socket] {
    DropOnce(slow_logged_, "a client said nothing whole in time");
    socket->abort();
    socket->deleteLater();
  });
  connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
    const QByteArray received = socket->peek(static_cast<qint64>(kMaxHandOverMessage));
    const HandOverMessage message = ReadHandOver(
        std::string_view(received.constData(), static_cast<std::size_t>(received.size())));
    switch (message.kind) {
      case HandOverKind::kIncomplete: return;
      case HandOverKind::kFront: {
        // The call is written at once: a token line has arrived with it.
        const HandOverMessage token = ReadHandOver(
            std::string_view(received.constData(), static_cast<std::size_t>(received.size()))
                .substr(message.length));
        if (token.kind == HandOverKind::kToken) {
          qputenv(kTokenVariable,
                  QByteArray(token.token.data(), static_cast<int>(token.token.size())));
          qCInfo(lcApp) << "activation token received";
        }
        qCInfo(lcApp) << "called to the front by another reader";
        if (on_called_) on_called_();
        // The token was for this one activation (made within the call):
        // kept, it would go with every program started later, a browser
        // for the movie's links included.
        if (token.kind == HandOverKind::kToken) qunsetenv(kTokenVariable);
        break;
      }
      case HandOverKind::kToken:
      case HandOverKind::kUnknown: DropOnce(unknown_logged_, "a message that is none"); break;
      case HandOverKind::kTooLong: DropOnce(long_logged_, "a message too long"); break;
    }
    socket->disconnectFromServer();
    if (message.kind != HandOverKind::kFront) {
      socket->abort();
      socket->deleteLater();
    }
  });
}

void SingleInstance::NameBook(const std::string& folder, const std::string& bookPath) {
  const auto it = held_.find(folder);
  if (it != held_.end()) it->second.lock->NameBook(bookPath);
}

std::string SingleInstance::HolderBook(const std::string& folder) {
  return FolderLock::HolderBook(Env::Default(), folder);
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
  if (name.isEmpty()) {
    throw Exception(Args(Tr("Reader",
                            "The magazine is open in another reader of yours already (its "
                            "folder \"%1\"), which can't be brought to the front: the readers' "
                            "lock folder can't be used (%2)"),
                         {folder, probe.error()}));
  }
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
  std::string call(kFrontCall);
  const QByteArray token = qgetenv(kTokenVariable);
  if (!token.isEmpty() && !token.contains('\n')) {
    call += std::string(kTokenPrefix) + token.toStdString() + '\n';
  }
  socket.write(call.data(), static_cast<qint64>(call.size()));
  socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()));
  // Wait for the holder to take the call (it closes), so the call isn't
  // lost when this reader ends at once.
  socket.waitForDisconnected(static_cast<int>(deadline.remainingTime()));
  qCInfo(lcApp).noquote() << "called the reader that holds" << Path(folder);
}

}  // namespace pagoro
