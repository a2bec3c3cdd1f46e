#include "player/page_bridge.h"

#include "player/player_log.h"

namespace pagoro {

void PageBridge::fsCommands(const QStringList& commands) {
  QList<RaisedCommand> raised;
  for (qsizetype i = 0; i + 2 < commands.size(); i += 3) {
    bool ok = false;
    const int number = commands[i + 2].toInt(&ok);
    if (ok) raised.append({commands[i], commands[i + 1], number});
  }
  emit Commands(raised);
}

void PageBridge::trace(const QString& message) { qCInfo(lcMovie).noquote() << message; }

}  // namespace pagoro
