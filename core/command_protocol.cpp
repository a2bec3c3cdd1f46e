#include "core/command_protocol.h"

namespace pagoro {

MovieAction DecideFSCommand(std::u16string_view command, std::u16string_view args) {
  if (command == u"outcommand") {
    if (args == u"Refresh") return MovieAction::kAnswerRefresh;
    if (args == u"SetTempPath") return MovieAction::kAnswerTempPath;
    return MovieAction::kNone;
  }
  if (command == u"fullscreen") {
    return args == u"false" ? MovieAction::kEnterWindowed : MovieAction::kEnterMaximized;
  }
  if (command == u"quit") return MovieAction::kClose;
  return MovieAction::kNone;
}

const char* ActionName(MovieAction action) {
  switch (action) {
    case MovieAction::kNone: return "ignored";
    case MovieAction::kAnswerRefresh: return "answer Refresh";
    case MovieAction::kAnswerTempPath: return "answer TempPath";
    case MovieAction::kEnterWindowed: return "enter windowed mode";
    case MovieAction::kEnterMaximized: return "enter maximized mode";
    case MovieAction::kClose: return "close the window";
  }
  return "?";
}

}  // namespace pagoro
