#include "player/shockwave_flash.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlScheme>
#include <QWebEngineView>
#include <filesystem>
#include <map>
#include <system_error>
#include <utility>

#include "book/cp936.h"
#include "player/file_confinement.h"
#include "player/host_page.h"
#include "player/movie_patch.h"
#include "player/movie_scheme.h"
#include "player/network_gate.h"
#include "player/page_bridge.h"
#include "player/player_error.h"
#include "player/player_log.h"
#include "player/shared_object_store.h"
#include "player/variable_queue.h"

namespace pagoro {
namespace {

// The name the movie's variable receiver is registered under with Ruffle's
// external interface; the page calls it.
constexpr char kReceiverName[] = "pagoroSetVariable";

QString QStr(const std::u16string& s) { return QString::fromStdU16String(s); }

std::string Utf8(const QString& s) { return s.toStdString(); }

// Throws when what the control is made of can't be had: the scheme, the
// web engine's helper process, the page and Ruffle's compiled-in files.
void CheckPrerequisites() {
  if (QWebEngineUrlScheme::schemeByName(MovieScheme::kName).name().isEmpty()) {
    throw PlayerError("The player's URL scheme was not registered before the application started");
  }
  const QByteArray process_override = qgetenv("QTWEBENGINEPROCESS_PATH");
  const QString process =
      process_override.isEmpty()
          ? QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + "/QtWebEngineProcess"
          : QString::fromLocal8Bit(process_override);
  if (!QFileInfo(process).isExecutable()) {
    throw PlayerError("The web engine is not installed (" + Utf8(process) + " is missing)");
  }
  // The page's scripts are compiled in together with the page.
  for (const char* resource : {":/pagoro/player/host.html", ":/pagoro/ruffle/ruffle.js",
                               ":/qtwebchannel/qwebchannel.js"}) {
    if (!QFile::exists(resource))
      throw PlayerError(std::string("The player file ") + resource + " is missing");
  }
  if (QDir(":/pagoro/ruffle").entryList({"*.wasm"}).isEmpty()) {
    throw PlayerError("Ruffle's WebAssembly core is missing from the player");
  }
}

// The movie's shared objects reach the page under Ruffle's keys: the
// host, the local path as the movie's URL spells it, the name.
QString PageKeyPrefix() { return MovieScheme::FileUrl("/").host() + "/"; }

QString PageKeyOf(const SharedObjectName& object) {
  const QString encoded =
      object.local_path.empty()
          ? QString()
          : MovieScheme::FileUrl("/" + object.local_path).path(QUrl::FullyEncoded).mid(1);
  return PageKeyPrefix() + encoded + "/" + QString::fromStdString(object.name);
}

// The object a page key names.
std::optional<SharedObjectName> ObjectOfPageKey(const QString& key) {
  if (!key.startsWith(PageKeyPrefix())) return std::nullopt;
  return SharedObjectStore::NameOfKey(key.mid(PageKeyPrefix().size()));
}

// The size of the screen `widget` is on (the primary screen before it
// shows), in pixels.
QSize ScreenPixels(const QWidget* widget) {
  const QScreen* screen = widget->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  return (QSizeF(screen->geometry().size()) * screen->devicePixelRatio()).toSize();
}

}  // namespace

struct TShockwaveFlash::Impl {
  explicit Impl(TShockwaveFlash* owner);
  ~Impl();
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  void StartMovie();
  // Hands the queued values to the page once the movie is playing there.
  void SendVariables();
  // The queued values, flattened, when the page plays the movie; none else.
  QStringList TakeSendable();

  TShockwaveFlash* owner;
  // Children of the control, deleted by ~Impl view first: a page must go
  // before the profile it uses.
  QWebEngineProfile* profile = nullptr;
  MovieScheme* scheme = nullptr;
  NetworkGate* gate = nullptr;
  HostPage* page = nullptr;
  QWebEngineView* view = nullptr;
  PageBridge* bridge = nullptr;

  bool page_ready = false;
  // The page came up while the control was hidden (a start screen showed
  // instead): once shown, such a page gets clicks but no keys. It plays
  // nothing and is loaded again when the control first shows.
  bool page_stale = false;
  std::string movie_path;  // absolute, the file system's bytes
  QString movie_url;       // the URL the page loads it from
  // The sandbox of the movie set last, should it be a file the user opened.
  MovieSandbox file_sandbox = MovieSandbox::kLocalFiles;
  bool movie_pending = false;  // set by Movie, started by Play
  bool accepts_variables = false;
  QString undeliverable_reason;
  // Values wait here until the page plays the movie they are for; the page
  // keeps those the movie can't take yet (before its first frame).
  VariableQueue variables;
  bool send_scheduled = false;
  int answering = 0;  // the movie's command whose handler runs, 0 outside one

  // Whose movie the next Movie() loads, and whose plays.
  std::optional<MagazineId> next_magazine;
  MagazineId magazine;
  // The shared objects of each start of a movie in the page, by session;
  // the one before the current still takes what its movie writes as it
  // goes.
  std::map<int, std::unique_ptr<SharedObjectStore>> stores;
  int store_session = 0;
  // Asks the page to play the current movie with its shared objects.
  void RequestPlay();
  SharedObjectPlaces Places() const {
    return SharedObjectPlaces(magazine, movie_path,
                              file_sandbox == MovieSandbox::kLocalNetwork
                                  ? FileSandbox::kLocalNetwork
                                  : FileSandbox::kLocalFiles);
  }
  void StoreSharedObject(int session, const QString& key, const QByteArray* bytes);
  // Carries out the movie's commands and sends their answers back.
  void RunCommands(const QList<RaisedCommand>& commands);
  // While WriteUnflushed waits, the movie's commands wait here.
  bool writing = false;
  QList<RaisedCommand> held_commands;
  int write_token = 0;
};

TShockwaveFlash::Impl::Impl(TShockwaveFlash* owner_widget) : owner(owner_widget) {
  CheckPrerequisites();
  // An off-the-record profile of the control's own: nothing written to the
  // user's disk, and the scheme handler serves this control only.
  profile = new QWebEngineProfile(owner);
  scheme = new MovieScheme(profile);
  profile->installUrlSchemeHandler(MovieScheme::kName, scheme);
  gate = new NetworkGate(profile);
  profile->setUrlRequestInterceptor(gate);
  QWebEngineSettings* settings = profile->settings();
  settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
  settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
  settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
  settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
  settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
  settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
  // The page is a secure context (MovieScheme); what a movie loads over
  // http is no less allowed for that.
  settings->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, true);
  // Every address the movie opens reaches HostPage, which decides: a mail
  // link from a timer as well as from a press.
  settings->setUnknownUrlSchemePolicy(QWebEngineSettings::AllowAllUnknownUrlSchemes);

  page = new HostPage(profile, owner);
  page->SetGate(gate);
  bridge = new PageBridge(page);
  auto* channel = new QWebChannel(page);
  channel->registerObject(QStringLiteral("bridge"), bridge);
  page->setWebChannel(channel);

  view = new QWebEngineView(owner);
  view->setPage(page);
  view->setContextMenuPolicy(Qt::NoContextMenu);
  // Keys go to the movie when the control gets the focus.
  owner->setFocusProxy(view);
  // Until the movie draws its own background, the window's shows through.
  page->setBackgroundColor(owner->palette().color(QPalette::Window));
  auto* layout = new QVBoxLayout(owner);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view);

  QObject::connect(bridge, &PageBridge::Ready, owner, [this] {
    page_ready = true;
    if (!owner->isVisible()) {
      page_stale = true;
      return;
    }
    if (!movie_url.isEmpty() && !movie_pending) {
      RequestPlay();
      SendVariables();
    }
  });
  QObject::connect(bridge, &PageBridge::SharedObjectStored, owner,
                   [this](int session, const QString& key, const QByteArray& bytes) {
                     StoreSharedObject(session, key, &bytes);
                   });
  QObject::connect(
      bridge, &PageBridge::SharedObjectRemoved, owner,
      [this](int session, const QString& key) { StoreSharedObject(session, key, nullptr); });
  // Carried out from the event loop, not inside the web channel's delivery:
  // the channel hands over no further message of the page (an answer the
  // handler waits for, WriteUnflushed) until that delivery has returned.
  QObject::connect(
      bridge, &PageBridge::Commands, owner,
      [this](const QList<RaisedCommand>& commands) {
        if (writing) {
          held_commands += commands;
        } else {
          RunCommands(commands);
        }
      },
      Qt::QueuedConnection);
  QObject::connect(bridge, &PageBridge::MovieLoaded, owner, [this](const QString& url) {
    qCInfo(lcPlayer) << "movie loaded:" << url;
    // The player element the movie plays in is new: it takes the page's
    // focus from the start.
    emit bridge->focusRequested();
  });
  QObject::connect(bridge, &PageBridge::MovieFailed, owner,
                   [](const QString& url, const QString& message) {
                     qCWarning(lcPlayer) << "movie failed to load:" << url << message;
                   });
  // A refused navigation away from the page also ends in a failed load;
  // only a failure before the page came up matters.
  QObject::connect(page, &QWebEnginePage::loadFinished, owner, [this](bool ok) {
    if (!ok && !page_ready) qCWarning(lcPlayer) << "the player page failed to load";
  });
  // A crashed or killed renderer takes the movie with it: start over.
  QObject::connect(page, &QWebEnginePage::renderProcessTerminated, owner,
                   [this](QWebEnginePage::RenderProcessTerminationStatus, int code) {
                     qCWarning(lcPlayer)
                         << "the web engine's renderer ended, code" << code << "- reloading";
                     page_ready = false;
                     page->load(MovieScheme::HostPageUrl());
                   });
  page->load(MovieScheme::HostPageUrl());
}

// The answers of each command are kept apart (two answers of one name are
// two changes the movie sees) and go back together.
void TShockwaveFlash::Impl::RunCommands(const QList<RaisedCommand>& commands) {
  QStringList answers;
  for (const RaisedCommand& c : commands) {
    qCInfo(lcPlayer) << "FSCommand" << c.command << c.args;
    // Values the handler sets answer this command.
    answering = c.number;
    // The call comes from the web channel, which can't carry an exception
    // back; the handler is expected to report its own failures.
    try {
      emit owner->FSCommand(c.command, c.args);
    } catch (const std::exception& e) {
      qCCritical(lcPlayer) << "the FSCommand handler failed:" << e.what();
    }
    answering = 0;
    answers += TakeSendable();
  }
  if (!answers.isEmpty()) emit bridge->variablesSet(answers);
}

TShockwaveFlash::Impl::~Impl() {
  delete view;
  delete page;
  delete profile;
}

QStringList TShockwaveFlash::Impl::TakeSendable() {
  if (!page_ready || page_stale || movie_pending || movie_url.isEmpty()) return {};
  return VariableQueue::Flatten(variables.TakeAll());
}

void TShockwaveFlash::Impl::SendVariables() {
  send_scheduled = false;
  const QStringList values = TakeSendable();
  if (!values.isEmpty()) emit bridge->variablesSet(values);
}

void TShockwaveFlash::Impl::StartMovie() {
  movie_pending = false;
  if (movie_url.isEmpty()) {
    if (page_ready) emit bridge->stopRequested();
    return;
  }
  if (page_ready && !page_stale) {
    RequestPlay();
    SendVariables();
  }
}

void TShockwaveFlash::Impl::RequestPlay() {
  // The page weighs the magazine's own objects and the shared ones apart.
  QStringList own{PageKeyOf({movie_path.substr(1), ""})};
  if (!magazine.book.empty()) {
    std::string folder = magazine.folder;
    while (folder.ends_with('/')) folder.pop_back();
    own.append(PageKeyOf({folder.substr(folder.starts_with('/') ? 1 : 0), ""}));
  }
  auto store = std::make_unique<SharedObjectStore>(Places());
  // A store that can't be written makes the movie's flushes answer false.
  store->Usable();
  QStringList entries;
  QStringList others;  // shared objects other magazines kept: not counted
  for (const SharedObjectStore::Entry& entry : store->Load()) {
    entries << PageKeyOf(entry.name) << QString::fromLatin1(entry.bytes.toBase64());
    if (!entry.counted) others << PageKeyOf(entry.name);
  }
  const int session = ++store_session;
  stores[session] = std::move(store);
  while (stores.size() > 2) stores.erase(stores.begin());
  const QVariantMap given{{QStringLiteral("session"), session},
                          {QStringLiteral("entries"), entries},
                          {QStringLiteral("own"), own},
                          {QStringLiteral("others"), others},
                          {QStringLiteral("limit"), static_cast<qlonglong>(kSharedObjectLimit)},
                          {QStringLiteral("prefix"), PageKeyPrefix()},
                          {QStringLiteral("writing"), stores[session]->writing()}};
  // A movie opened as a file finds its parts by relative names in its own
  // folder (a projector's: the projector's, not its movie file's), as it did
  // in the standalone player; Ruffle would resolve them against the page.
  // A book's movies name their files by TempPath: their base stays the page.
  const QString base = magazine.book.empty() && !magazine.folder.empty()
                           ? MovieScheme::FileUrl(magazine.folder).toString(QUrl::FullyEncoded)
                           : QString();
  emit bridge->playRequested(movie_url, base, QString::fromLatin1(kReceiverName), given);
}

void TShockwaveFlash::Impl::StoreSharedObject(int session, const QString& key,
                                              const QByteArray* bytes) {
  const auto store = stores.find(session);
  const std::optional<SharedObjectName> object = ObjectOfPageKey(key);
  if (store == stores.end() || !object) {
    qCInfo(lcPlayer) << "shared object not kept (no store for it):" << key;
    return;
  }
  if (bytes != nullptr) {
    // The page answers flushes by whether the store could write lately.
    const bool was_writing = store->second->writing();
    store->second->Write(*object, *bytes);
    if (store->second->writing() != was_writing)
      emit bridge->storeWriting(session, store->second->writing());
  } else {
    store->second->Remove(*object);
  }
}

TShockwaveFlash::TShockwaveFlash(QWidget* parent)
    : QWidget(parent), impl_(std::make_unique<Impl>(this)) {}

TShockwaveFlash::~TShockwaveFlash() = default;

void TShockwaveFlash::RegisterScheme() {
  // The web engine shares OpenGL contexts with the widgets; Qt wants to
  // know before the application object exists, as for the scheme.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  MovieScheme::Register();
}

void TShockwaveFlash::Magazine(const MagazineId& id) { impl_->next_magazine = id; }

void TShockwaveFlash::Movie(const std::string& path) {
  // A movie that can't be read changes nothing.
  std::string file_path;
  QByteArray bytes;
  PatchResult fonts;
  if (!path.empty()) {
    std::error_code error;
    file_path = path.front() == '/' ? path : std::filesystem::absolute(path, error).string();
    const std::string shown = "\"" + FileNameAsUtf8(file_path) + "\"";
    // Opened without waiting and judged by what was opened: a FIFO put in
    // the file's place since it was judged by its content can't hang us.
    std::string reason;
    const int fd = error ? -1 : OpenRegularFile(file_path, &reason);
    if (error) reason = error.message();
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
      if (fd >= 0) ::close(fd);
      throw PlayerError("Cannot load the movie " + shown + ": " +
                        (fd < 0 ? reason : Utf8(file.errorString())));
    }
    bytes = file.readAll();
    if (bytes.size() < 8 ||
        !(bytes.startsWith("FWS") || bytes.startsWith("CWS") || bytes.startsWith("ZWS"))) {
      throw PlayerError("Cannot load the movie " + shown + ": not a Flash movie");
    }
    fonts = RenameDeviceFonts(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                        static_cast<std::size_t>(bytes.size())));
    // Nothing of such a movie would show, after the engine took long over it.
    if (fonts.unplayable) throw PlayerError("Cannot play the movie " + shown + ": " + fonts.reason);
  }

  Impl& d = *impl_;
  if (const std::size_t dropped = d.variables.Clear()) {
    qCInfo(lcPlayer) << "dropped" << dropped << "variables the previous movie never fetched";
  }
  d.movie_pending = true;
  d.accepts_variables = false;
  d.movie_path.clear();
  d.movie_url.clear();
  d.scheme->SetMovie({}, {});
  if (path.empty()) return;
  d.file_sandbox =
      LocalSandboxOf(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size())));

  // Ruffle draws the device font aliases without Chinese: they become
  // system families (movies loaded from the book's folder get the same from
  // the scheme). And Ruffle can't set a movie's variables from outside: the
  // movie gets a receiver the page calls (SendVariables, host.js).
  PatchResult patch = InsertVariableReceiver(fonts.bytes, kReceiverName);
  d.accepts_variables = patch.patched;
  d.undeliverable_reason = QString::fromStdString(patch.reason);
  if (!patch.patched) {
    qCInfo(lcPlayer) << "movie" << QString::fromStdString(FileNameAsUtf8(file_path))
                     << "can't receive variables:" << d.undeliverable_reason;
  } else {
    // The movie reads the screen's size as Flash Player gave it, not the
    // size of the player's drawing area.
    // Ruffle: System.capabilities.screenResolutionX/Y are the size of its
    // canvas in device pixels; they are plain properties of that object,
    // which a movie's own actions may delete and set (not DONT_DELETE).
    const QSize screen = ScreenPixels(this);
    if (screen.isValid()) {
      qCInfo(lcPlayer) << "the movie's screen:" << screen.width() << "x" << screen.height();
      patch = InsertScreenSize(patch.bytes, screen.width(), screen.height());
    }
  }
  d.scheme->SetMovie(file_path, QByteArray(reinterpret_cast<const char*>(patch.bytes.data()),
                                           static_cast<qsizetype>(patch.bytes.size())));
  d.movie_path = file_path;
  d.movie_url = MovieScheme::FileUrl(file_path).toString(QUrl::FullyEncoded);
  // A movie nobody named a magazine for is its own file's.
  d.magazine =
      d.next_magazine.value_or(MagazineId{.book = {},
                                          .file = file_path,
                                          .folder = file_path.substr(0, file_path.rfind('/') + 1),
                                          .identity = {}});
  d.next_magazine.reset();
  // What the magazine kept by its name before is carried over now, while
  // the shelf still shows the openings before this one.
  if (const std::string root = SharedObjectStore::Root();
      !root.empty() && !d.magazine.identity.empty())
    SharedObjectStore(d.Places(), root).CarryOver();
}

void TShockwaveFlash::Play() {
  if (impl_->movie_pending) impl_->StartMovie();
}

void TShockwaveFlash::SetVariable(const std::u16string& name, const std::u16string& value) {
  Impl& d = *impl_;
  const QString qname = QStr(name);
  const QString qvalue = QStr(value);
  if (d.movie_path.empty() || !d.accepts_variables) {
    qCWarning(lcPlayer) << "SetVariable undeliverable:" << qname << "=" << qvalue << "-"
                        << (d.movie_path.empty() ? QStringLiteral("no movie")
                                                 : d.undeliverable_reason);
    return;
  }
  qCInfo(lcPlayer) << "SetVariable:" << qname << "=" << qvalue;
  if (d.variables.Push({qname, qvalue, d.answering}) > 0) {
    qCDebug(lcPlayer) << "a value the movie could not have seen was dropped";
  }
  // Values set in one go (by one command's handler) travel together.
  if (!d.send_scheduled) {
    d.send_scheduled = true;
    QTimer::singleShot(0, this, [this] { impl_->SendVariables(); });
  }
}

void TShockwaveFlash::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Impl& d = *impl_;
  if (!d.page_stale) return;
  qCInfo(lcPlayer) << "the page came up hidden: loading it again";
  d.page_stale = false;
  d.page_ready = false;
  d.page->load(MovieScheme::HostPageUrl());
}

bool TShockwaveFlash::WriteUnflushed() {
  Impl& d = *impl_;
  // A movie set but not started yet: the page still plays the one before.
  if (!d.page_ready || d.page_stale || d.writing || d.stores.empty()) return true;
  const int token = ++d.write_token;
  bool answered = false;
  QEventLoop loop;
  QObject::connect(d.bridge, &PageBridge::SharedObjectsWritten, &loop, [&](int written) {
    if (written != token) return;
    answered = true;
    loop.quit();
  });
  QObject::connect(d.page, &QWebEnginePage::renderProcessTerminated, &loop, &QEventLoop::quit);
  QTimer bound;
  bound.setSingleShot(true);
  QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
  bound.start(kWriteBound);
  d.writing = true;
  emit d.bridge->writeRequested(token);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  d.writing = false;
  if (answered) {
    qCInfo(lcPlayer) << "shared objects: what the movie left unflushed is written";
  } else {
    qCWarning(lcPlayer) << "shared objects: the page did not answer within" << kWriteBound.count()
                        << "ms; what the movie left unflushed since the last write is lost";
  }
  if (!d.held_commands.isEmpty()) {
    QTimer::singleShot(0, this, [this] {
      const QList<RaisedCommand> held = std::exchange(impl_->held_commands, {});
      impl_->RunCommands(held);
    });
  }
  return answered;
}

void TShockwaveFlash::FocusMovie() {
  setFocus();
  if (impl_->page_ready) emit impl_->bridge->focusRequested();
}

void TShockwaveFlash::SetAssetFolder(const std::string& folder, MovieOrigin origin) {
  Impl& d = *impl_;
  const MovieSandbox sandbox = origin == MovieOrigin::kBook ? MovieSandbox::kBook : d.file_sandbox;
  if (sandbox != d.gate->sandbox()) {
    qCInfo(lcPlayer) << "the movie"
                     << (sandbox == MovieSandbox::kBook ? "reads its book's files"
                         : sandbox == MovieSandbox::kLocalFiles
                             ? "may read local files, no network"
                             : "may use the network, no local file");
  }
  d.scheme->SetSandbox(sandbox);
  d.gate->SetSandbox(sandbox);
  d.scheme->SetAssetFolder(folder);
}

}  // namespace pagoro
