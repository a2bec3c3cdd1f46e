#include "app/logging.h"

#include <cstdio>
#include <cstring>

namespace pagoro {
// Only warnings are on unless the rules say otherwise.
Q_LOGGING_CATEGORY(lcApp, "pagoro.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcProtocol, "pagoro.protocol", QtWarningMsg)
Q_LOGGING_CATEGORY(lcEngine, "pagoro.engine", QtWarningMsg)

namespace {

QtMessageHandler previous_handler = nullptr;
void (*connection_lost)() = nullptr;

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
    void (*run)() = connection_lost;
    connection_lost = nullptr;
    run();
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
