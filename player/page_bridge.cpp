#include "player/page_bridge.h"

#include "player/player_log.h"

namespace pagoro {

void PageBridge::trace(const QString& message) { qCDebug(lcPlayer) << "movie trace:" << message; }

}  // namespace pagoro
