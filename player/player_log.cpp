#include "player/player_log.h"

namespace pagoro {
Q_LOGGING_CATEGORY(lcPlayer, "pagoro.player", QtWarningMsg)
Q_LOGGING_CATEGORY(lcMovie, "pagoro.movie", QtWarningMsg)
Q_LOGGING_CATEGORY(lcFrames, "pagoro.frames", QtWarningMsg)
}  // namespace pagoro
