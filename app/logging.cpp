#include "app/logging.h"

namespace pagoro {
// Only warnings are on unless the rules say otherwise.
Q_LOGGING_CATEGORY(lcApp, "pagoro.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcProtocol, "pagoro.protocol", QtWarningMsg)
}  // namespace pagoro
