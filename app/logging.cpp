#include "app/logging.h"

#include <cstdio>
#include <cstring>
#include <mutex>

namespace pagoro {
// Only warnings are on unless the rules say otherwise.
Q_LOGGING_CATEGORY(lcApp, "pagoro.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcProtocol, "pagoro.protocol", QtWarningMsg)
Q_LOGGING_CATEGORY(lcEngine, "pagoro.engine", QtWarningMsg)

namespace {

QtMessageHandler previous_handler = nullptr;
void (*connection_lost)() = nullptr;
// Several threads may find the connection lost at once (the GUI thread and
// Qt's Wayland event thread): each waits until the clean-up has run once,
// so that none ends the process in the middle of it.
std::once_flag connection_lost_once;

// What Qt's Wayland plugin says just before it ends the process.
bool SaysConnectionLost(QtMsgType type, const QString& message) {
  return type == QtWarningMsg &&
         (message.startsWith(QLatin1String("The Wayland connection broke")) ||
          message.startsWith(QLatin1String("The Wayland connection experienced a fatal error")));
}

void FilterMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  const bool note = type == QtDebugMsg || type == QtInfoMsg;
  const bool ours =
      context.category != nullptr && std::strncmp(context.category, "pagoro.", 7) == 0;
  if (note && !ours && !lcEngine().isInfoEnabled()) return;
  if (connection_lost != nullptr && SaysConnectionLost(type, message)) {
    std::call_once(connection_lost_once, connection_lost);
  }
  if (previous_handler != nullptr) {
    previous_handler(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
  }
}

}  // namespace

void InstallMessageFilter() { previous_handler = qInstallMessageHandler(FilterMessage); }

void OnConnectionLost(void (*run)()) { connection_lost = run; }

std::vector<std::string> EngineLogSwitches() {
  if (lcEngine().isInfoEnabled()) return {};
  return {"--log-level=3"};
}

}  // namespace pagoro
