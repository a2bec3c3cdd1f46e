#include "player/movie_scheme.h"

#include <unistd.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <filesystem>
#include <string>
#include <string_view>

#include "book/cp936.h"
#include "player/file_confinement.h"
#include "player/movie_patch.h"
#include "player/player_log.h"
#include "player/requested_file.h"
#include "player/ruffle_files.h"

namespace pagoro {
namespace {

// QStringLiteral and QByteArrayLiteral refer to static data and allocate
// nothing, so these can't throw (cert-err58-cpp can't see that).
const QString kHost = QStringLiteral("reader");  // NOLINT(cert-err58-cpp)
// Paths below this prefix are the player's own files, not the user's.
const QString kInternalPrefix = QStringLiteral("/~pagoro/");  // NOLINT(cert-err58-cpp)
const QString kRufflePrefix = QStringLiteral("ruffle/");      // NOLINT(cert-err58-cpp)

QByteArray ContentType(const QString& path) {
  static const QHash<QString, QByteArray> types = {
      {"html", "text/html"},        {"js", "text/javascript"},
      {"wasm", "application/wasm"}, {"swf", "application/x-shockwave-flash"},
      {"txt", "text/plain"},        {"xml", "text/xml"},
      {"jpg", "image/jpeg"},        {"jpeg", "image/jpeg"},
      {"png", "image/png"},         {"gif", "image/gif"},
      {"mp3", "audio/mpeg"},        {"flv", "video/x-flv"},
  };
  return types.value(QFileInfo(path).suffix().toLower(), "application/octet-stream");
}

// The resource that holds the player's own file `name`; "" when there is
// none. The page's own files are those compiled in under /pagoro/player.
QString InternalResource(const QString& name) {
  if (name == "qwebchannel.js") return QStringLiteral(":/qtwebchannel/qwebchannel.js");
  if (name.startsWith(kRufflePrefix)) return RuffleResource(name.mid(kRufflePrefix.size()));
  QString page_file = ":/pagoro/player/" + name;
  if (!name.contains('/') && QFileInfo(page_file).isFile()) return page_file;
  return {};
}

void Reply(QWebEngineUrlRequestJob* job, const QByteArray& type, const QByteArray& body) {
  auto* buffer = new QBuffer(job);
  buffer->setData(body);
  buffer->open(QIODevice::ReadOnly);
  job->reply(type, buffer);
}

}  // namespace

const QByteArray MovieScheme::kName = QByteArrayLiteral("pagoro");  // NOLINT(cert-err58-cpp)

void MovieScheme::Register() {
  if (!QWebEngineUrlScheme::schemeByName(kName).name().isEmpty()) return;
  QWebEngineUrlScheme scheme(kName);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
  // CORS-enabled: the engine refuses fetch() on custom schemes, but the
  // page's XMLHttpRequests to its own origin work (fetch-shim.js). Secure:
  // the page is a secure context, where the engine offers the WebCodecs
  // decoders Ruffle plays H.264 video with (the page still loads http
  // addresses as before: the control allows them, see shockwave_flash.cpp).
  scheme.setFlags(QWebEngineUrlScheme::CorsEnabled | QWebEngineUrlScheme::SecureScheme);
  QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl MovieScheme::HostPageUrl() {
  return QUrl(QString::fromLatin1(kName) + "://" + kHost + kInternalPrefix + "host.html");
}

QUrl MovieScheme::FileUrl(const std::string& absolute_path) {
  // Bytes outside ASCII (UTF-8 or not), controls and "%" are escaped here;
  // QUrl escapes the rest of what a path can't hold ("#", "?", " ").
  static constexpr char kHex[] = "0123456789ABCDEF";
  QString escaped;
  escaped.reserve(static_cast<qsizetype>(absolute_path.size()));
  for (const char c : absolute_path) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x7F || byte < 0x20 || c == '%') {
      escaped += QLatin1Char('%');
      escaped += QLatin1Char(kHex[byte >> 4]);
      escaped += QLatin1Char(kHex[byte & 15]);
    } else {
      escaped += QLatin1Char(c);
    }
  }
  QUrl url;
  url.setScheme(QString::fromLatin1(kName));
  url.setHost(kHost);
  url.setPath(escaped, QUrl::TolerantMode);
  return url;
}

MovieScheme::MovieScheme(QObject* parent) : QWebEngineUrlSchemeHandler(parent) {}

void MovieScheme::SetMovie(const std::string& path, const QByteArray& bytes) {
  movie_path_ = path;
  movie_bytes_ = bytes;
}

void MovieScheme::SetAssetFolder(const std::string& folder) {
  asset_folder_ = folder;
  opened_folder_ = OpenedFolder(folder);
}

void MovieScheme::Refuse(QWebEngineUrlRequestJob* job, const QString& why) {
  qCInfo(lcPlayer) << "refused" << job->requestUrl().toString() << "-" << why;
  job->fail(QWebEngineUrlRequestJob::RequestDenied);
}

void MovieScheme::requestStarted(QWebEngineUrlRequestJob* job) {
  const QUrl url = job->requestUrl();
  const QByteArray method = job->requestMethod();
  if (url.host() != kHost) return Refuse(job, "unknown host");
  if (method != "GET" && method != "POST")
    return Refuse(job, "method " + QString::fromLatin1(method));
  const QString path = url.path(QUrl::FullyDecoded);
  if (path.startsWith(kInternalPrefix)) return ServeInternal(job, path.mid(kInternalPrefix.size()));
  ServeFile(job, url);
}

void MovieScheme::ServeInternal(QWebEngineUrlRequestJob* job, const QString& name) {
  const QString resource = InternalResource(name);
  if (resource.isEmpty() && name.startsWith(kRufflePrefix)) {
    QByteArray bytes;
    if (RebuildRuffleFile(name.mid(kRufflePrefix.size()), &bytes))
      return Reply(job, ContentType(name), bytes);
  }
  if (resource.isEmpty() || !QFile::exists(resource)) return Refuse(job, "no such player file");
  auto* file = new QFile(resource, job);
  if (!file->open(QIODevice::ReadOnly)) return Refuse(job, "player file unreadable");
  job->reply(ContentType(name), file);
}

void MovieScheme::ServeFile(QWebEngineUrlRequestJob* job, const QUrl& url) {
  const QString path = url.path(QUrl::FullyDecoded);
  const QByteArray encoded_path = url.path(QUrl::FullyEncoded).toLatin1();
  const std::string_view encoded(encoded_path.constData(),
                                 static_cast<std::size_t>(encoded_path.size()));
  if (!movie_path_.empty() && PercentDecoded(encoded) == movie_path_)
    return Reply(job, ContentType(".swf"), movie_bytes_);
  if (sandbox_ == MovieSandbox::kLocalNetwork)
    return Refuse(job, "a movie opened as a file that uses the network reads no local file");
  const QByteArray encoded_query = url.query(QUrl::FullyEncoded).toLatin1();
  const std::filesystem::path folder(asset_folder_);
  const ConfinedPath confined = RequestedFile(
      encoded,
      url.hasQuery()
          ? std::optional<std::string_view>(std::string_view(
                encoded_query.constData(), static_cast<std::size_t>(encoded_query.size())))
          : std::nullopt,
      folder, sandbox_ == MovieSandbox::kBook ? HiddenFiles::kServed : HiddenFiles::kRefused);
  std::string reason;
  const int fd = OpenConfinedFile(confined, opened_folder_, &reason);
  if (fd < 0) return Refuse(job, QString::fromStdString(reason));
  // A file opened by its descriptor has no name of its own.
  const QString name = QString::fromStdString(FileNameAsUtf8(confined.file.string()));
  auto* file = new QFile(job);
  if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return Refuse(job, "unreadable");
  }
  qCInfo(lcPlayer).noquote() << "serving" << name;
  // A movie the main movie loads gets the main movie's font families.
  const QByteArray head = file->peek(3);
  if (LooksLikeMovie(
          std::span(reinterpret_cast<const std::uint8_t*>(head.constData()), head.size()))) {
    const QByteArray movie = file->readAll();
    const PatchResult r =
        RenameDeviceFonts(std::span(reinterpret_cast<const std::uint8_t*>(movie.constData()),
                                    static_cast<std::size_t>(movie.size())));
    return Reply(job, ContentType(path),
                 QByteArray(reinterpret_cast<const char*>(r.bytes.data()),
                            static_cast<qsizetype>(r.bytes.size())));
  }
  job->reply(ContentType(path), file);
}

}  // namespace pagoro
