#include "tests/player/player_harness.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QMutex>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QThread>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace pagoro::testing {
namespace {

QMutex log_mutex;
QStringList* log_lines = nullptr;
QtMessageHandler previous_handler = nullptr;

void CaptureLog(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (context.category && QByteArray(context.category).startsWith("pagoro.")) {
    QMutexLocker lock(&log_mutex);
    if (log_lines) log_lines->append(message);
  }
  if (previous_handler) previous_handler(type, context, message);
}

}  // namespace

UrlRecorder::UrlRecorder(const QStringList& schemes) : schemes_(schemes) {
  for (const QString& scheme : schemes_) QDesktopServices::setUrlHandler(scheme, this, "Open");
}

UrlRecorder::~UrlRecorder() {
  for (const QString& scheme : schemes_) QDesktopServices::unsetUrlHandler(scheme);
}

PlayerHarness::PlayerHarness() {
  {
    QMutexLocker lock(&log_mutex);
    if (!log_lines) {
      log_lines = new QStringList;
      previous_handler = qInstallMessageHandler(CaptureLog);
      QLoggingCategory::setFilterRules(
          QStringLiteral("pagoro.player.info=true\npagoro.movie.info=true"));
    }
  }
  ClearLog();
  clock_.start();
  asset_folder_ =
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/pagoro/杂志 Book/";
  QDir().mkpath(asset_folder_);
  player_ = std::make_unique<TShockwaveFlash>();
  player_->SetAssetFolder(QFile::encodeName(asset_folder_).toStdString());
  player_->resize(640, 480);
  player_->move(0, 0);
  player_->show();
  QObject::connect(player_.get(), &TShockwaveFlash::FSCommand,
                   [this](const QString& command, const QString& args) {
                     calls_.push_back({command, args, clock_.elapsed()});
                   });
}

PlayerHarness::~PlayerHarness() {
  player_.reset();
  QDir(asset_folder_).removeRecursively();
}

QString PlayerHarness::WriteTempMovie(const swf::Bytes& movie) {
  QTemporaryFile file(QDir::tempPath() + "/temXXXXXX.tmp");
  file.setAutoRemove(false);
  if (!file.open()) return {};
  file.write(reinterpret_cast<const char*>(movie.data()), static_cast<qint64>(movie.size()));
  return file.fileName();
}

QString PlayerHarness::WriteAsset(const QString& name, const QByteArray& bytes) {
  const QString path = asset_folder_ + name;
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  return path;
}

qint64 PlayerHarness::Load(const QString& path) {
  const qint64 at = clock_.elapsed();
  player_->Movie(QFile::encodeName(path).toStdString());
  player_->Play();
  return at;
}

bool PlayerHarness::WaitUntil(const std::function<bool()>& done, int timeout_ms) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeout_ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

const Call* PlayerHarness::WaitForCall(const QString& command, int timeout_ms, std::size_t index) {
  const Call* found = nullptr;
  WaitUntil(
      [&] {
        std::size_t seen = 0;
        for (const Call& call : calls_) {
          if (call.command == command && seen++ == index) {
            found = &call;
            return true;
          }
        }
        return false;
      },
      timeout_ms);
  return found;
}

std::vector<Call> PlayerHarness::CallsOf(const QString& command) const {
  std::vector<Call> out;
  for (const Call& call : calls_) {
    if (call.command == command) out.push_back(call);
  }
  return out;
}

QStringList PlayerHarness::LogLines() const {
  QMutexLocker lock(&log_mutex);
  return *log_lines;
}

void PlayerHarness::ClearLog() {
  QMutexLocker lock(&log_mutex);
  log_lines->clear();
}

QVariant PlayerHarness::RunJs(const QString& script, int timeout_ms) {
  QVariant result;
  bool done = false;
  player_->findChild<QWebEngineView*>()->page()->runJavaScript(script, [&](const QVariant& v) {
    result = v;
    done = true;
  });
  WaitUntil([&] { return done; }, timeout_ms);
  return result;
}

QImage PlayerHarness::Screenshot() const {
  const QPoint origin = player_->mapToGlobal(QPoint(0, 0));
  return QGuiApplication::primaryScreen()
      ->grabWindow(0, origin.x(), origin.y(), player_->width(), player_->height())
      .toImage();
}

}  // namespace pagoro::testing
