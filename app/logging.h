// The reader's log categories, off by default; enable them with
// QT_LOGGING_RULES="pagoro.*=true".
//   pagoro.app       openings, folders, message boxes, clean-up steps
//   pagoro.protocol  fscommands received, actions taken, variables sent
//   pagoro.engine    the web engine's own notes: Qt WebEngine's set-up and
//                    Chromium's log (without it Chromium logs fatal errors only)
#pragma once

#include <QLoggingCategory>
#include <string>
#include <vector>

namespace pagoro {
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcProtocol)
Q_DECLARE_LOGGING_CATEGORY(lcEngine)

// Keeps the libraries' notes (debug and info messages of categories not the
// reader's) off the terminal unless pagoro.engine is on; their warnings and
// the reader's own messages pass as before.
void InstallMessageFilter();

// `run` is called (on whatever thread tells it) when Qt says that the
// connection to the Wayland compositor is lost: Qt ends the process with
// _exit() right after, which runs no exit handler.
void OnConnectionLost(void (*run)());

// The Chromium switches that set its own log's level: fatal errors only,
// unless pagoro.engine is on.
std::vector<std::string> EngineLogSwitches();
}  // namespace pagoro
