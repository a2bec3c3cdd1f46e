#include "player/page_bridge.h"

#include "player/player_log.h"

namespace pagoro {

void PageBridge::fsCommands(const QStringList& commands) {
  emit BatchStarted();
  for (qsizetype i = 0; i + 2 < commands.size(); i += 3) {
    bool ok = false;
    const int number = commands[i + 2].toInt(&ok);
    if (ok) emit FSCommand(commands[i], commands[i + 1], number);
  }
  emit BatchEnded();
}

void PageBridge::trace(const QString& message) { qCInfo(lcMovie).noquote() << message; }

}  // namespace pagoro
