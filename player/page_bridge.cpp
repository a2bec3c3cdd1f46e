#include "player/page_bridge.h"

#include "player/player_log.h"

namespace pagoro {

void PageBridge::trace(const QString& message) { qCInfo(lcMovie).noquote() << message; }

}  // namespace pagoro
