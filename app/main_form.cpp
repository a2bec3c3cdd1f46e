#include "app/main_form.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>
#include <exception>

#include "app/drop_target.h"
#include "app/error_reporter.h"
#include "app/logging.h"
#include "app/start_screen.h"
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

std::string Local8Bit(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString FromLocal8Bit(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

void SetGray(QWidget* widget) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, QColor(128, 128, 128));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

const char* KindName(FileKind kind) {
  switch (kind) {
    case FileKind::kBook:
      return "a book";
    case FileKind::kProjector:
      return "a projector's movie";
    case FileKind::kMovie:
      return "a movie";
    case FileKind::kNone:
      break;
  }
  return "nothing";
}

}  // namespace

TMainForm::TMainForm(Env& env, ErrorReporter& reporter, QString ownPath)
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

  opener_ = std::make_unique<BookOpener>(env_, *FlashPlayer, [this](const std::string& text) {
    reporter_.ShowMessage(text);
  });

  AppEvents.SetOnMessage([this](HookEvent kind, bool& handled) {
    // Before anything plays (the start screen and its dialogs) the keys and
    // buttons are theirs.
    if (!isVisible()) return;
    // A failure leaves the hook before the event is marked handled; the
    // event goes no further either way.
    if (!reporter_.Guard([&] { AppEventsMessage(kind, handled); })) handled = true;
  });
  qApp->installEventFilter(&AppEvents);
  reporter_.SetHook(&AppEvents);
  reporter_.SetOwner(this);
}

TMainForm::~TMainForm() {
  FormDestroy();
  reporter_.SetHook(nullptr);
  qApp->removeEventFilter(&AppEvents);
}

void TMainForm::Start(const QString& file, bool ownIsBook) {
  if (file.isEmpty() && ownIsBook) {
    reporter_.Guard([&] { FormCreate(); });
    showMaximized();
    return;
  }
  reporter_.Guard([&] { PrepareWindow(); });
  if (!file.isEmpty() && OpenFile(file)) {
    showMaximized();
    return;
  }
  ShowStartScreen();
}

void TMainForm::ShowStartScreen() {
  // The player's window stays hidden until something plays; then it takes
  // over as a book executable's window, full screen, as magazines are made.
  start_screen_ = std::make_unique<StartScreen>([this](const QString& path) {
    if (!OpenFile(path)) return;
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
  OpenBook(own_path_);
}

void TMainForm::PrepareWindow() {
  is_maximized_ = true;
  // Dropped files are taken at the top-level window, before the web view.
  create();
  drop_target_ = new DropTarget([this](const QString& path) { OpenBook(path); }, this);
  windowHandle()->installEventFilter(drop_target_);
  setAcceptDrops(true);

  const QString title = QString::fromStdString(TitleFromPath(Local8Bit(own_path_)));
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

void TMainForm::OpenBook(const QString& path) {
  qCInfo(lcApp).noquote() << "open" << path;
  if (ExtensionOf(Local8Bit(path)) != ".exe") {
    qCInfo(lcApp).noquote() << "not opened (no .exe extension):" << path;
    return;
  }
  Open(path, [&] { opener_->OpenBook(Local8Bit(path)); });
}

bool TMainForm::OpenFile(const QString& path) {
  const QString full = QFileInfo(path).absoluteFilePath();
  qCInfo(lcApp).noquote() << "open file" << full;
  return Open(full, [&] {
    const FileKind kind = opener_->OpenFile(Local8Bit(full));
    qCInfo(lcApp).noquote() << "plays" << KindName(kind);
  });
}

bool TMainForm::Open(const QString& path, const std::function<void()>& open) {
  std::exception_ptr failure;
  try {
    open();
    qCInfo(lcApp).noquote() << "opened" << path << "| cache folder"
                            << FromLocal8Bit(opener_->CacheFolder()) << "| movie file"
                            << FromLocal8Bit(opener_->MovieTempPath());
  } catch (...) {
    failure = std::current_exception();
  }
  // The player serves the files of the folder the movie is told about, also
  // when the opening stopped half-way (the folder is already the new one).
  reporter_.Guard([&] { FlashPlayer->SetAssetFolder(FromLocal8Bit(opener_->CacheFolder())); });
  if (failure) {
    reporter_.Guard([&] {
      qCInfo(lcApp).noquote() << "open" << path << "failed";
      std::rethrow_exception(failure);
    });
  }
  return !failure;
}

void TMainForm::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TMainForm::FormClose() {
  // Every failure of the clean-up is ignored.
  try {
    const std::string ownFile = FileNameOf(Local8Bit(own_path_));
    qCInfo(lcApp).noquote() << "clean-up: cache folder of" << FromLocal8Bit(ownFile)
                            << "| movie file" << FromLocal8Bit(opener_->MovieTempPath());
    opener_->CloseBooks(ownFile);
    qCInfo(lcApp) << "clean-up: book released";
  } catch (...) {
    qCInfo(lcApp) << "clean-up: a step failed, ignored";
  }
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FormResize();
}

void TMainForm::FormResize() {
  if (container == nullptr || FlashPlayer == nullptr) return;  // still being built
  try {
    container->setFocus();
    FlashPlayer->setFocus();
  } catch (...) {
    // A window that can't take the focus now is no error.
  }
}

void TMainForm::EnterMaximized() {
  if (is_maximized_) return;
  showMaximized();
  is_maximized_ = true;
}

void TMainForm::EnterWindowed() {
  if (!is_maximized_) return;
  showNormal();
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  const WindowRect r =
      WindowedGeometry(screen.width(), screen.height(), opener_->MovieWidth(), opener_->MovieHeight());
  // The window has no border: its outer rectangle is its client rectangle.
  setGeometry(r.left, r.top, r.width, r.height);
  is_maximized_ = false;
  qCInfo(lcApp) << "windowed:" << r.left << r.top << r.width << "x" << r.height;
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
    case MovieAction::kNone:
      break;
    case MovieAction::kAnswerRefresh:
      SendVariable(kVarInCommand, kInRefresh);
      break;
    case MovieAction::kAnswerTempPath:
      SendVariable(kVarTempPath, FromLocal8Bit(opener_->CacheFolder()).toStdU16String());
      break;
    case MovieAction::kEnterWindowed:
      EnterWindowed();
      break;
    case MovieAction::kEnterMaximized:
      EnterMaximized();
      break;
    case MovieAction::kClose:
      close();
      break;
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
    case HookEvent::kEscapeReleased:
      qCInfo(lcProtocol) << "Escape released";
      if (is_maximized_) {
        SendVariable(kVarInCommand, kInRestore);
        EnterWindowed();
      }
      break;
    case HookEvent::kEscapeDown:
    case HookEvent::kOther:
      break;
  }
}

}  // namespace pagoro
