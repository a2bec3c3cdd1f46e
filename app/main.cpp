// The reader's entry: no command line is read. The program opens its own
// file as the book and plays it in its window until the window is closed.
#include <QFile>
#include <QIcon>

#include "app/application.h"
#include "app/error_reporter.h"
#include "app/logging.h"
#include "app/main_form.h"
#include "book/env.h"
#include "core/book_opener.h"
#include "player/shockwave_flash.h"

int main(int /*argc*/, char** argv) {
  using namespace pagoro;
  // Qt would take options such as -platform from the arguments; hand it
  // the program name alone.
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};

  TShockwaveFlash::RegisterScheme();
  TApplication app(qtArgc, qtArgv);
  QCoreApplication::setApplicationName(QStringLiteral("pagoro"));
  QCoreApplication::setApplicationVersion(QStringLiteral(PAGORO_FILE_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral("pagoro"));
  QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/pagoro/pagoro.png")));
  qCInfo(lcApp) << "pagoro" << PAGORO_FILE_VERSION << "product" << PAGORO_PRODUCT_VERSION;

  const QString ownPath = QCoreApplication::applicationFilePath();
  std::unique_ptr<TMainForm> form;
  try {
    form = std::make_unique<TMainForm>(Env::Default(), app.Reporter(), ownPath);
  } catch (const std::exception& e) {
    ErrorReporter::ShowFatal(e, FileNameOf(QFile::encodeName(ownPath).toStdString()));
    return 1;
  }
  app.Reporter().Guard([&] { form->FormCreate(); });
  form->showMaximized();
  const int rc = QApplication::exec();
  form.reset();
  return rc;
}
