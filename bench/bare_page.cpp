// bare_page: the web engine's own cost of playing a movie with Ruffle. One
// maximized window with one web view whose page loads Ruffle and the movie
// from a small HTTP server inside this process, and nothing else: no book,
// no URL scheme of ours, no web channel, no movie patching.
//
//   bare_page RUFFLE_DIR MOVIE.swf
//
// Every fscommand the movie raises is printed on stdout as
// "fscommand COMMAND ARGS" the moment the page reports it.
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <cstdio>
#include <memory>

namespace {

// Ruffle set up as a book's player sets it up: playing at once, no splash,
// no overlays, the movie unscaled at the top left.
constexpr char kPage[] = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8">
<style>
html, body { margin: 0; padding: 0; width: 100%; height: 100%; overflow: hidden; background: #000; }
ruffle-player { display: block; width: 100%; height: 100%; }
</style>
<script>
window.RufflePlayer = { config: {
  publicPath: "/ruffle/", polyfills: false, autoplay: "on", splashScreen: false, unmuteOverlay: "hidden",
  contextMenu: "off", menu: false, showSwfDownload: false, warnOnUnsupportedContent: false,
  quality: "high", scale: "noScale", forceScale: true, letterbox: "off", wmode: "window",
  allowScriptAccess: true, allowNetworking: "all", openUrlMode: "allow", upgradeToHttps: false,
  allowFullscreen: false, deviceFontRenderer: "canvas", logLevel: "error" } };
</script>
<script src="/ruffle/ruffle.js"></script>
</head><body><script>
const player = window.RufflePlayer.newest().createPlayer();
document.body.appendChild(player);
const api = player.ruffle();
api.addFSCommandHandler((command, args) => console.log("fscommand " + command + " " + args));
api.load({ url: "/movie.swf" }).catch((e) => console.log("failed " + e));
</script></body></html>
)";

QByteArray ContentType(const QString& path) {
  if (path.endsWith(".js")) return "text/javascript";
  if (path.endsWith(".wasm")) return "application/wasm";
  if (path.endsWith(".swf")) return "application/x-shockwave-flash";
  return "text/html; charset=utf-8";
}

// Answers GET / (the page), /ruffle/NAME (Ruffle's files) and /movie.swf,
// one request per connection.
class Server : public QTcpServer {
 public:
  Server(QString ruffleDir, QString movie)
      : ruffle_dir_(std::move(ruffleDir)), movie_(std::move(movie)) {}

 protected:
  void incomingConnection(qintptr descriptor) override {
    auto* socket = new QTcpSocket(this);
    socket->setSocketDescriptor(descriptor);
    // Each connection gathers its own request until the blank line ends it.
    auto request = std::make_shared<QByteArray>();
    connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
      *request += socket->readAll();
      if (!request->contains("\r\n\r\n")) return;
      const QList<QByteArray> words = request->left(request->indexOf("\r\n")).split(' ');
      request->clear();
      Answer(socket, words.size() >= 2 ? QString::fromUtf8(words[1]) : QString());
    });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  }

 private:
  void Answer(QTcpSocket* socket, const QString& path) {
    QByteArray body;
    bool found = true;
    if (path == "/") {
      body = kPage;
    } else if (path == "/movie.swf" ||
               (path.startsWith("/ruffle/") && path.count('/') == 2 && !path.contains(".."))) {
      QFile file(path == "/movie.swf" ? movie_ : ruffle_dir_ + path.mid(7));
      found = file.open(QIODevice::ReadOnly);
      if (found) body = file.readAll();
    } else {
      found = false;
    }
    QByteArray head = found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n";
    head += "Content-Type: " + ContentType(path) +
            "\r\nContent-Length: " + QByteArray::number(body.size()) +
            "\r\nConnection: close\r\n\r\n";
    socket->write(head + body);
    socket->disconnectFromHost();
  }

  QString ruffle_dir_;
  QString movie_;
};

class Page : public QWebEnginePage {
 public:
  using QWebEnginePage::QWebEnginePage;

 protected:
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                const QString&) override {
    std::printf("%s\n", message.toUtf8().constData());
    std::fflush(stdout);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bare_page RUFFLE_DIR MOVIE.swf\n");
    return 2;
  }
  const QString ruffleDir = QFile::decodeName(argv[1]);
  const QString movie = QFile::decodeName(argv[2]);
  if (!QFileInfo(ruffleDir + "/ruffle.js").isFile() || !QFileInfo(movie).isFile()) {
    std::fprintf(stderr, "bare_page: no ruffle.js in %s or no movie at %s\n", argv[1], argv[2]);
    return 2;
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  // The engine's default, unless the variable says otherwise.
  std::printf("compositing: %s\n", qgetenv("QT_QUICK_BACKEND") == "software"
                                       ? "software - QT_QUICK_BACKEND=software is set"
                                       : "hardware - Qt Quick's default scene graph");
  std::fflush(stdout);

  Server server(ruffleDir, QFileInfo(movie).absoluteFilePath());
  if (!server.listen(QHostAddress::LocalHost)) {
    std::fprintf(stderr, "bare_page: cannot listen: %s\n",
                 server.errorString().toUtf8().constData());
    return 1;
  }
  // An off-the-record profile, as a book's player has.
  QWebEngineProfile profile;
  profile.settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
  profile.settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
  QWebEngineView view;
  Page page(&profile);
  view.setPage(&page);
  QObject::connect(&page, &QWebEnginePage::loadFinished, [](bool ok) {
    if (!ok) std::fprintf(stderr, "bare_page: the page did not load\n");
  });
  page.load(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort())));
  view.showMaximized();
  const int rc = QApplication::exec();
  view.setPage(nullptr);
  return rc;
}
