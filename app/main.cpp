// The reader's entry. `pagoro FILE` opens FILE by its content; without a
// file a book executable opens itself, and the reader alone shows its start
// screen. The window plays until it is closed.
#include <unistd.h>

#include <QFile>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>
#include <optional>

#include "app/application.h"
#include "app/command_line.h"
#include "app/compositing_path.h"
#include "app/error_reporter.h"
#include "app/forget.h"
#include "app/logging.h"
#include "app/main_form.h"
#include "app/signal_watch.h"
#include "book/env.h"
#include "book/file_kind.h"
#include "core/app_title.h"
#include "core/book_opener.h"
#include "player/engine_switches.h"
#include "player/shockwave_flash.h"
#include "translations/translations.h"

namespace {

using namespace pagoro;

// True when the program file is a book executable: it carries a container,
// or it has the extension of one (such a file opens itself, or shows why it
// can't, as it always has). A file that was opened and can't be read (its
// medium gone) is taken for one, to say so.
bool OwnFileIsBook(Env& env, const std::string& ownPath) {
  if (ExtensionOf(ownPath) == ".exe") return true;
  const std::unique_ptr<MappedFile> own = env.MapReadOnly(ownPath, nullptr);
  if (!own) return false;
  const std::optional<Judgement> judged = JudgeFile(*own, nullptr);
  return !judged || judged->kind == FileKind::kBook;
}

// The web engine refuses to start as root while its sandbox is on, and
// ends the process with one line of its own. Say why, and what to do.
bool RefusedAsRoot(const QString& title) {
  if (geteuid() != 0 || !qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX") ||
      qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").contains(QLatin1String("--no-sandbox"))) {
    return false;
  }
  const QString text = QCoreApplication::translate(
      "Reader",
      "pagoro is running as root (the administrator), and the web engine that plays the magazines "
      "refuses to start as root while its security sandbox is on.\n\n"
      "Start pagoro as your own user instead. If it has to run as root, turn the sandbox off for "
      "that run: QTWEBENGINE_DISABLE_SANDBOX=1 pagoro FILE");
  std::fprintf(
      stderr, "pagoro: %s\n",
      qPrintable(QString(text).replace(QLatin1String("\n\n"), QLatin1String("\npagoro: "))));
  QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok);
  box.exec();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QFile::decodeName(argv[i]);
  const QString program = QFile::decodeName(argv[0]);
  // The command line's own answers speak the user's language too: a core
  // application holds the catalogues while they are given.
  std::optional<QCoreApplication> commandLineApp;
  // The application keeps a reference to its argc: it lives as long.
  // cppcheck-suppress variableScope
  int commandLineArgc = 1;
  if (ParseCommandLine(arguments).action != CommandLine::Action::kRun) {
    commandLineApp.emplace(commandLineArgc, argv);
    UseUserLanguage();
  }
  const CommandLine commandLine = ParseCommandLine(arguments);
  switch (commandLine.action) {
    case CommandLine::Action::kHelp: std::fputs(qPrintable(HelpText(program)), stdout); return 0;
    case CommandLine::Action::kVersion:
      std::printf("%s\n", qPrintable(QCoreApplication::translate("CommandLine",
                                                                 "pagoro %1 (product version %2)")
                                         .arg(QStringLiteral(PAGORO_FILE_VERSION),
                                              QStringLiteral(PAGORO_PRODUCT_VERSION))));
      return 0;
    case CommandLine::Action::kUsageError:
      std::fprintf(
          stderr, "%s: %s\n%s\n", argv[0], qPrintable(commandLine.error),
          qPrintable(QCoreApplication::translate("CommandLine", "Try '%1 --help'.").arg(program)));
      return 2;
    case CommandLine::Action::kForget:
      return ForgetMagazine(std::string(argv[commandLine.file_index + 1]));
    case CommandLine::Action::kRun: break;
  }

  // Qt would take options such as -platform from the arguments; hand it
  // the program name and the web engine's switches alone.
  InstallMessageFilter();
  EngineArguments qtArgs(argv[0], EngineLogSwitches());

  TShockwaveFlash::RegisterScheme();
  TApplication app(qtArgs.argc(), qtArgs.argv());
  UseUserLanguage();
  QCoreApplication::setApplicationName(QStringLiteral("pagoro"));
  QCoreApplication::setApplicationVersion(QStringLiteral(PAGORO_FILE_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral(PAGORO_APP_ID));
  QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/pagoro/pagoro.png")));
  qCInfo(lcApp) << "pagoro" << PAGORO_FILE_VERSION << "product" << PAGORO_PRODUCT_VERSION;

  const std::string ownPath = Env::Default().ProgramPath();
  const std::string ownName = FileNameOf(ownPath);
  if (RefusedAsRoot(QString::fromStdString(TitleFromPath(ownPath)))) return 1;
  ApplyCompositingPath(ChooseCompositingPath());

  std::unique_ptr<TMainForm> form;
  try {
    form = std::make_unique<TMainForm>(Env::Default(), app.Reporter(), ownPath);
  } catch (const std::exception& e) {
    ErrorReporter::ShowFatal(e, ownName);
    return 1;
  }
  SignalWatch cleanEnd([&] { form->close(); },
                       [&] {
                         if (form) form->FormClose();
                       });
  OnConnectionLost(&SignalWatch::CleanUpBeforeEnd);
  // False: another reader plays this book and has come to the front.
  // The file by its own bytes: a name that is no UTF-8 (as unzip leaves
  // names from other systems) would not survive a round trip through text.
  const std::string file =
      commandLine.file_index < 0 ? std::string() : std::string(argv[commandLine.file_index + 1]);
  if (!form->Start(file, OwnFileIsBook(Env::Default(), ownPath))) return 0;
  const int rc = QApplication::exec();
  form.reset();
  return rc;
}
