// The player's logging category "pagoro.player": debug and info messages
// are off unless enabled (QT_LOGGING_RULES="pagoro.player.info=true").
#pragma once

#include <QLoggingCategory>

namespace pagoro {
Q_DECLARE_LOGGING_CATEGORY(lcPlayer)
}
