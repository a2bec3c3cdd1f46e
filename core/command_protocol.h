// The movie command protocol: what the reader does for each fscommand the
// movie raises, and the names and values of the movie variables it sets.
// Comparisons are whole-string and unit for unit: case matters, nothing is
// trimmed.
#pragma once

#include <string_view>

namespace pagoro {

// Movie variables set by the reader and the values it sends in them.
inline constexpr std::u16string_view kVarInCommand = u"incommand";
inline constexpr std::u16string_view kVarTempPath = u"TempPath";
inline constexpr std::u16string_view kInRefresh = u"Refresh";
inline constexpr std::u16string_view kInRestore = u"restore";          // Escape released, maximized
inline constexpr std::u16string_view kInRestorePage = u"restorePage";  // right button pressed

enum class MovieAction {
  kNone,            // unknown command or args: no answer
  kAnswerRefresh,   // "incommand" := "Refresh"
  kAnswerTempPath,  // "TempPath" := the current book's cache folder
  kEnterWindowed,
  kEnterMaximized,
  kClose,  // close the main window as the user would
};

// The one action for fscommand(command, args).
MovieAction DecideFSCommand(std::u16string_view command, std::u16string_view args);

// A short name of `action` for the log.
const char* ActionName(MovieAction action);

}  // namespace pagoro
