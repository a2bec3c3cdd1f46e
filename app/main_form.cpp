#include "app/main_form.h"

#include <limits.h>
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <array>
#include <exception>
#include <optional>

#include "app/absolute_path.h"
#include "app/drop_target.h"
#include "app/error_reporter.h"
#include "app/file_chooser.h"
#include "app/full_screen_key.h"
#include "app/key_sheet.h"
#include "app/logging.h"
#include "app/mode_requests.h"
#include "app/signal_watch.h"
#include "app/single_instance.h"
#include "app/start_screen.h"
#include "book/cp936.h"
#include "book/file_kind.h"
#include "core/app_title.h"
#include "core/book_opener.h"
#include "core/command_protocol.h"
#include "core/window_geometry.h"
#include "player/shockwave_flash.h"

namespace pagoro {
namespace {

// Design-time client size; the window is maximized before it is shown.
constexpr int kDesignWidth = 790;
constexpr int kDesignHeight = 541;
// When the cover for the shelf is taken: the movie's first screen has shown.
constexpr int kCoverDelay = 3000;

std::string Local8Bit(const QString& path) { return QFile::encodeName(path).toStdString(); }
// A path for the log, legible also when its bytes are no UTF-8.
QString Legible(const std::string& path) { return QString::fromStdString(FileNameAsUtf8(path)); }

void SetGray(QWidget* widget) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, QColor(128, 128, 128));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

const char* KindName(FileKind kind) {
  switch (kind) {
    case FileKind::kBook: return "a book";
    case FileKind::kProjector: return "a projector's movie";
    case FileKind::kMovie: return "a movie";
    case FileKind::kNone: break;
  }
  return "nothing";
}

bool OnWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

// What the file at `path` holds; nullopt when it can't be read.
std::optional<FileKind> KindOfFile(Env& env, const std::string& path) {
  const std::unique_ptr<MappedFile> file = env.MapReadOnly(path, nullptr);
  const std::optional<Judgement> judged = file ? JudgeFile(*file, nullptr) : std::nullopt;
  if (!judged) return std::nullopt;
  return judged->kind;
}

}  // namespace

TMainForm::TMainForm(Env& env, ErrorReporter& reporter, std::string ownPath)
    : env_(env), reporter_(reporter), own_path_(std::move(ownPath)) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowFlag(Qt::FramelessWindowHint);
  setWindowTitle(reporter_.Title());
  SetGray(this);
  resize(kDesignWidth, kDesignHeight);

  container = new QFrame(this);
  container->setObjectName(QStringLiteral("container"));
  container->setFrameShape(QFrame::NoFrame);
  SetGray(container);
  auto* fill = new QVBoxLayout(this);
  fill->setContentsMargins(0, 0, 0, 0);
  fill->addWidget(container);

  // The player fills the panel less its 1-pixel border.
  FlashPlayer = new TShockwaveFlash(container);
  FlashPlayer->setObjectName(QStringLiteral("FlashPlayer"));
  auto* inner = new QVBoxLayout(container);
  inner->setContentsMargins(1, 1, 1, 1);
  inner->addWidget(FlashPlayer);
  connect(FlashPlayer, &TShockwaveFlash::FSCommand, this,
          [this](const QString& command, const QString& args) {
            reporter_.Guard([&] { FlashPlayerFSCommand(command, args); });
          });

  window_states_ = new WindowStates(this, OnWayland(), this);
  mode_requests_ = new ModeRequests(
      [this](bool maximized) {
        reporter_.Guard([&] { maximized ? EnterMaximized() : EnterWindowed(); });
      },
      this);

  instances_ = std::make_unique<SingleInstance>([this] { BringToFront(); });
  opener_ = std::make_unique<BookOpener>(
      env_, *FlashPlayer, [this](const std::string& text) { reporter_.ShowMessage(text); },
      instances_.get());

  AppEvents.SetOnMessage([this](HookEvent kind, bool& handled) {
    // Before anything plays (the start screen and its dialogs) the keys and
    // buttons are theirs.
    if (!isVisible()) return;
    // A failure leaves the hook before the event is marked handled; the
    // event goes no further either way.
    if (!reporter_.Guard([&] { AppEventsMessage(kind, handled); })) handled = true;
  });
  qApp->installEventFilter(&AppEvents);
  // Installed after the hook, so it sees F11 first.
  qApp->installEventFilter(new FullScreenKey(
      [this] {
        if (!isVisible()) return false;
        reporter_.Guard([&] { ToggleFullScreen(); });
        return true;
      },
      this));
  TakeBoxKey(QKeyCombination(Qt::ControlModifier, Qt::Key_O), &TMainForm::OpenWhileReading);
  TakeBoxKey(QKeyCombination(Qt::Key_F1), &TMainForm::ShowKeySheet);
  reporter_.SetHook(&AppEvents);
  reporter_.SetOwner(this);
}

void TMainForm::TakeBoxKey(QKeyCombination combination, void (TMainForm::*open)()) {
  qApp->installEventFilter(new ReaderKey(
      combination,
      [this, open] {
        if (!isVisible() || box_up_ || QApplication::activeModalWidget() != nullptr) return false;
        box_up_ = true;
        // Not inside the key's delivery: the box runs an event loop of its own.
        QTimer::singleShot(0, this, [this, open] {
          reporter_.Guard([&] { (this->*open)(); });
          box_up_ = false;
          FormResize();
        });
        return true;
      },
      this));
}

void TMainForm::OpenWhileReading() {
  qCInfo(lcApp) << "open while reading";
  std::string path;
  {
    // Escape in the dialog is the dialog's, not the window's.
    const TApplicationEvents::Suspension quiet(AppEvents);
    path = FileChooser::Choose(this, recent_.Load().last_folder());
  }
  qCInfo(lcApp).noquote() << "chosen:"
                          << (path.empty() ? QStringLiteral("nothing") : Legible(path));
  if (path.empty()) return;
  recent_.SetLastFolder(path.substr(0, path.rfind('/') + 1));
  OpenDropped(path);
}

void TMainForm::ShowKeySheet() {
  qCInfo(lcApp) << "key sheet: shown";
  {
    const TApplicationEvents::Suspension quiet(AppEvents);
    KeySheet sheet(this, env_.UserStateFolder(), env_.UserDataFolder());
    sheet.exec();
  }
  qCInfo(lcApp) << "key sheet: closed";
}

TMainForm::~TMainForm() {
  FormDestroy();
  reporter_.SetHook(nullptr);
  qApp->removeEventFilter(&AppEvents);
}

bool TMainForm::Start(const std::string& file, bool ownIsBook) {
  own_is_book_ = file.empty() && ownIsBook;
  if (own_is_book_) {
    reporter_.Guard([&] { FormCreate(); });
    if (handed_over_) return false;
    showMaximized();
    return true;
  }
  reporter_.Guard([&] { PrepareWindow(); });
  if (!file.empty()) {
    const OpenOutcome outcome = OpenFile(file);
    if (outcome == OpenOutcome::kHeldElsewhere) return false;
    if (outcome == OpenOutcome::kOpened) {
      showMaximized();
      return true;
    }
  }
  ShowStartScreen();
  return true;
}

void TMainForm::ShowStartScreen() {
  // The player's window stays hidden until something plays; then it takes
  // over as a book executable's window, full screen, as magazines are made.
  start_screen_ = std::make_unique<StartScreen>([this](const std::string& path) {
    if (OpenFile(path) != OpenOutcome::kOpened) return;
    showMaximized();
    reporter_.SetOwner(this);
    start_screen_->hide();
    start_screen_.release()->deleteLater();
  });
  reporter_.SetOwner(start_screen_.get());
  start_screen_->show();
  qCInfo(lcApp) << "start screen";
}

void TMainForm::FormCreate() {
  PrepareWindow();
  const OpenOutcome outcome = OpenBook(own_path_, Ownership::kOwn);
  handed_over_ = outcome == OpenOutcome::kHeldElsewhere;
  AfterOpening(own_path_, outcome);
}

void TMainForm::PrepareWindow() {
  is_maximized_ = true;
  // Dropped files are taken at the top-level window, before the web view.
  create();
  drop_target_ = new DropTarget([this](const std::string& path) { OpenDropped(path); }, this);
  windowHandle()->installEventFilter(drop_target_);
  setAcceptDrops(true);

  const QString title = QString::fromStdString(TitleFromPath(own_path_));
  reporter_.SetTitle(title);
  setWindowTitle(title);
  qCInfo(lcApp).noquote() << "title:" << title;
}

void TMainForm::FormDestroy() {
  if (drop_target_ == nullptr) return;
  if (windowHandle() != nullptr) windowHandle()->removeEventFilter(drop_target_);
  delete drop_target_;
  drop_target_ = nullptr;
  setAcceptDrops(false);
}

OpenOutcome TMainForm::OpenBook(const QString& path, Ownership ownership) {
  return OpenBook(Local8Bit(path), ownership);
}

OpenOutcome TMainForm::OpenBook(const std::string& bytes, Ownership ownership) {
  const QString path = Legible(bytes);
  qCInfo(lcApp).noquote() << "open" << path;
  if (ExtensionOf(bytes) != ".exe") {
    qCInfo(lcApp).noquote() << "not opened (no .exe extension):" << path;
    return OpenOutcome::kIgnored;
  }
  return Open(path, [&] { return opener_->OpenBook(bytes, ownership); });
}

OpenOutcome TMainForm::OpenFile(const std::string& path) {
  const std::string full = AbsolutePath(path);
  qCInfo(lcApp).noquote() << "open file" << Legible(full);
  // A movie or projector is held by its path, as a book by its folder.
  const std::optional<FileKind> probed = KindOfFile(env_, full);
  const bool movie = probed && (*probed == FileKind::kMovie || *probed == FileKind::kProjector);
  if (movie && full != movie_claim_ && !instances_->Claim(full)) {
    qCInfo(lcApp).noquote() << "not opened (open in another reader):" << Legible(full);
    instances_->CallHolder(full);
    return OpenOutcome::kHeldElsewhere;
  }
  const OpenOutcome outcome = Open(Legible(full), [&] {
    FileKind kind = FileKind::kNone;
    const OpenOutcome opened = opener_->OpenFile(full, &kind);
    if (opened == OpenOutcome::kOpened) qCInfo(lcApp).noquote() << "plays" << KindName(kind);
    return opened;
  });
  if (outcome == OpenOutcome::kOpened) {
    if (!movie_claim_.empty() && movie_claim_ != full) instances_->Release(movie_claim_);
    movie_claim_ = movie ? full : std::string();
  } else if (movie && full != movie_claim_) {
    instances_->Release(full);
  }
  AfterOpening(full, outcome);
  return outcome;
}

OpenOutcome TMainForm::OpenDropped(const std::string& path) {
  const std::optional<FileKind> kind = KindOfFile(env_, path);
  if (ExtensionOf(path) == ".exe" && (!kind || *kind == FileKind::kBook)) {
    const OpenOutcome outcome = OpenBook(path, Ownership::kOwn);
    if (outcome == OpenOutcome::kOpened && !movie_claim_.empty()) {
      instances_->Release(movie_claim_);
      movie_claim_.clear();
    }
    AfterOpening(path, outcome);
    return outcome;
  }
  return OpenFile(path);
}

void TMainForm::AfterOpening(const std::string& path, OpenOutcome outcome) {
  if (outcome != OpenOutcome::kOpened) return;
  recent_.Opened(path, opener_->Identity());
  const unsigned opening = ++openings_;
  QTimer::singleShot(kCoverDelay, this, [this, path, opening] {
    if (opening != openings_ || !isVisible() || closed_) return;
    recent_.SetCover(path, FlashPlayer->grab().toImage());
  });
  if (own_is_book_) return;
  const QString title = QString::fromStdString(MagazineTitle(path));
  reporter_.SetTitle(title);
  setWindowTitle(title);
  qCInfo(lcApp).noquote() << "title:" << title;
}

OpenOutcome TMainForm::Open(const QString& path, const std::function<OpenOutcome()>& open) {
  OpenOutcome outcome = OpenOutcome::kIgnored;
  std::exception_ptr failure;
  try {
    outcome = open();
  } catch (...) {
    failure = std::current_exception();
  }
  if (outcome == OpenOutcome::kHeldElsewhere) {
    qCInfo(lcApp).noquote() << "not opened (open in another reader):" << path;
    return outcome;
  }
  if (!failure) {
    qCInfo(lcApp).noquote() << "opened" << path << "| cache folder"
                            << Legible(opener_->CacheFolder()) << "| movie file"
                            << Legible(opener_->MovieTempPath());
  }
  // What the previous movie's playing freed stays with the allocator
  // (about 10 MiB a book in the web engine's part of this process); give it
  // back to the system, or the reader's memory grows with every book.
  malloc_trim(0);
  // The player serves the files of the folder of the book whose movie plays,
  // the one the movie is told about.
  reporter_.Guard([&] {
    FlashPlayer->SetAssetFolder(opener_->CacheFolder(), opener_->PlaysFileMovie()
                                                            ? TShockwaveFlash::MovieOrigin::kFile
                                                            : TShockwaveFlash::MovieOrigin::kBook);
  });
  if (failure) {
    reporter_.Guard([&] {
      qCInfo(lcApp).noquote() << "open" << path << "failed | cache folder"
                              << Legible(opener_->CacheFolder());
      std::rethrow_exception(failure);
    });
  }
  return outcome;
}

void TMainForm::BringToFront() {
  if (isMinimized()) {
    if (is_maximized_) {
      showMaximized();
    } else {
      showNormal();
    }
  }
  raise();
  activateWindow();
  FormResize();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TMainForm::FormClose() {
  if (closed_) return;  // a signal's clean-up, then the window's close
  closed_ = true;
  // Every failure of the clean-up is ignored.
  try {
    // What the movie changed and never flushed is written as it ends, as
    // Flash Player did, before its files go; not where the program ends
    // from inside the platform's event handling (the display went away),
    // which can't wait for the page.
    if (!SignalWatch::EndingWithoutEvents()) FlashPlayer->WriteUnflushed();
  } catch (...) {
    qCInfo(lcApp) << "clean-up: writing the shared objects failed, ignored";
  }
  try {
    const std::string ownFile = FileNameOf(own_path_);
    qCInfo(lcApp).noquote() << "clean-up: cache folder of" << Legible(ownFile) << "| movie file"
                            << Legible(opener_->MovieTempPath());
    opener_->CloseBooks(ownFile);
    qCInfo(lcApp) << "clean-up: book released";
  } catch (...) {
    qCInfo(lcApp) << "clean-up: a step failed, ignored";
  }
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (windowed_pending_ && !window_states_->Sized()) {
    PlaceWindowed();
    return;
  }
  FormResize();
}

void TMainForm::FormResize() {
  if (container == nullptr || FlashPlayer == nullptr) return;  // still being built
  try {
    container->setFocus();
    FlashPlayer->FocusMovie();
  } catch (...) {
    // A window that can't take the focus now is no error.
  }
}

void TMainForm::EnterMaximized() {
  if (is_maximized_) return;
  windowed_pending_ = false;
  window_states_->Show(Qt::WindowMaximized);
  is_maximized_ = true;
  qCInfo(lcApp) << "maximized";
  FormResize();
}

void TMainForm::EnterWindowed() {
  if (!is_maximized_) return;
  const bool wasSized = window_states_->Sized();
  window_states_->Show(Qt::WindowNoState);
  is_maximized_ = false;
  // A Wayland compositor holds a maximized window to the size it gave it
  // until it has taken the window out of that state; a window of another
  // size before then is a protocol error, which ends the connection. The
  // size follows the compositor's answer (a resize to the normal size).
  if (OnWayland() && wasSized) {
    windowed_pending_ = true;
    qCInfo(lcApp) << "windowed: waiting for the compositor";
    return;
  }
  PlaceWindowed();
}

void TMainForm::PlaceWindowed() {
  windowed_pending_ = false;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect whole = screen->geometry();
  const QRect available = screen->availableGeometry();
  WindowRect r = WindowedGeometry(whole.width(), whole.height(), opener_->MovieWidth(),
                                  opener_->MovieHeight());
  r.left += whole.left();
  r.top += whole.top();
  r = FitWithin(r, {available.left(), available.top(), available.width(), available.height()},
                opener_->MovieWidth(), opener_->MovieHeight());
  // The window has no border: its outer rectangle is its client rectangle.
  // Wayland places windows itself: only the size is asked for there.
  if (OnWayland()) {
    resize(r.width, r.height);
  } else {
    setGeometry(r.left, r.top, r.width, r.height);
  }
  qCInfo(lcApp) << "windowed:" << r.left << r.top << r.width << "x" << r.height << "within"
                << available.width() << "x" << available.height();
  FormResize();
}

void TMainForm::ToggleFullScreen() {
  if (window_states_->Wanted() == Qt::WindowFullScreen) {
    qCInfo(lcApp) << "full screen: off";
    if (is_maximized_) {
      window_states_->Show(Qt::WindowMaximized);
    } else {
      is_maximized_ = true;  // back into the window as from maximized mode
      EnterWindowed();
    }
  } else {
    qCInfo(lcApp) << "full screen: on";
    windowed_pending_ = false;
    window_states_->Show(Qt::WindowFullScreen);
  }
  FormResize();
}

void TMainForm::SendVariable(std::u16string_view name, std::u16string_view value) {
  qCInfo(lcProtocol).noquote() << "set" << QString::fromStdU16String(std::u16string(name)) << "="
                               << QString::fromStdU16String(std::u16string(value));
  FlashPlayer->SetVariable(std::u16string(name), std::u16string(value));
}

void TMainForm::FlashPlayerFSCommand(const QString& command, const QString& args) {
  const MovieAction action = DecideFSCommand(command.toStdU16String(), args.toStdU16String());
  qCInfo(lcProtocol).noquote() << "fscommand" << command << "|" << args << "->"
                               << ActionName(action);
  switch (action) {
    case MovieAction::kNone: break;
    case MovieAction::kAnswerRefresh: SendVariable(kVarInCommand, kInRefresh); break;
    case MovieAction::kAnswerTempPath:
      // Legible, as the system's code page would have it: a folder named
      // in code page 936 bytes too (the player maps it back to the bytes).
      SendVariable(kVarTempPath, Legible(opener_->CacheFolder()).toStdU16String());
      break;
    case MovieAction::kEnterWindowed: mode_requests_->Request(false); break;
    case MovieAction::kEnterMaximized: mode_requests_->Request(true); break;
    case MovieAction::kClose: close(); break;
  }
}

void TMainForm::AppEventsMessage(HookEvent kind, bool& handled) {
  switch (kind) {
    case HookEvent::kRightPress:
      qCInfo(lcProtocol) << "right button pressed";
      SendVariable(kVarInCommand, kInRestorePage);
      handled = true;
      break;
    case HookEvent::kRightDoubleClick:
      // Part of a press already taken.
      handled = true;
      break;
    case HookEvent::kEscapeUp:
      // Every Escape release is kept from the player, in both modes; what
      // it means is known once it has settled (kEscapeReleased).
      qCDebug(lcProtocol) << "Escape key up";
      handled = true;
      break;
    case HookEvent::kEscapeUpOfBox:
      // The release of the Escape that closed a box: the box's, not the window's.
      qCInfo(lcProtocol) << "Escape key up, of a box";
      handled = true;
      break;
    case HookEvent::kEscapeReleased:
      qCInfo(lcProtocol) << "Escape released";
      if (is_maximized_) {
        SendVariable(kVarInCommand, kInRestore);
        mode_requests_->Cancel();
        EnterWindowed();
      }
      break;
    case HookEvent::kEscapeDown:
    case HookEvent::kOther: break;
  }
}

}  // namespace pagoro
