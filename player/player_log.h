// The player's logging categories, whose debug and info messages are off
// unless enabled (QT_LOGGING_RULES="pagoro.player.info=true"):
// "pagoro.player" for the player itself, the engine and Ruffle's messages;
// "pagoro.movie" for what the movie traces; "pagoro.frames" for the frames
// the page renders and draws, counted once a second (only while enabled).
#pragma once

#include <QLoggingCategory>

namespace pagoro {
Q_DECLARE_LOGGING_CATEGORY(lcPlayer)
Q_DECLARE_LOGGING_CATEGORY(lcMovie)
Q_DECLARE_LOGGING_CATEGORY(lcFrames)
}  // namespace pagoro
