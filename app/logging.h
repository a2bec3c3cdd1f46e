// The reader's log categories, off by default; enable them with
// QT_LOGGING_RULES="pagoro.*=true".
//   pagoro.app       openings, folders, message boxes, clean-up steps
//   pagoro.protocol  fscommands received, actions taken, variables sent
#pragma once

#include <QLoggingCategory>

namespace pagoro {
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcProtocol)
}  // namespace pagoro
