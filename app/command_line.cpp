#include "app/command_line.h"

#include <QCoreApplication>
#include <string>
#include <vector>

#include "core/arguments.h"

namespace pagoro {

namespace {

constexpr OptionRule kOptions[] = {{.name = "--forget", .short_name = "", .takes_value = false}};
constexpr std::size_t kForget = 0;

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
  std::vector<std::string> texts;
  texts.reserve(static_cast<std::size_t>(arguments.size()));
  for (const QString& argument : arguments) texts.push_back(argument.toStdString());
  const ParsedArguments parsed = ParseArguments(texts, kOptions);
  CommandLine result;
  const auto fail = [&](const QString& error) {
    result.action = CommandLine::Action::kUsageError;
    result.error = error;
    return result;
  };
  if (parsed.help) {
    result.action = CommandLine::Action::kHelp;
    return result;
  }
  if (parsed.version) {
    result.action = CommandLine::Action::kVersion;
    return result;
  }
  // The reader's own wording of an unknown option, as it always was.
  if (!parsed.unknown_option.empty())
    return fail(QCoreApplication::translate("CommandLine", "unknown option %1")
                    .arg(QString::fromStdString(parsed.unknown_option)));
  if (!parsed.error.empty()) return fail(QString::fromStdString(parsed.error));
  if (parsed.operands.size() > 1) {
    return fail(QCoreApplication::translate("CommandLine", "one file at a time (%1 and %2 given)")
                    .arg(arguments[static_cast<qsizetype>(parsed.operand_places[0])],
                         arguments[static_cast<qsizetype>(parsed.operand_places[1])]));
  }
  if (!parsed.operands.empty()) {
    result.file_index = static_cast<int>(parsed.operand_places[0]);
    result.file = arguments[result.file_index];
    if (result.file.isEmpty())
      return fail(QCoreApplication::translate("CommandLine", "an empty file name"));
  }
  if (parsed.Has(kForget)) {
    if (result.file.isEmpty())
      return fail(QCoreApplication::translate("CommandLine", "--forget needs the magazine's FILE"));
    result.action = CommandLine::Action::kForget;
  }
  return result;
}

QString HelpText(const QString& program) {
  return QCoreApplication::translate(
             "CommandLine",
             "Usage: %1 [FILE]\n"
             "       %1 --forget FILE\n"
             "Plays electronic magazines made of Flash movies.\n"
             "\n"
             "FILE is a magazine (a book executable, made for Windows or for this reader,\n"
             "whatever its name), a Flash movie (.swf) or a Flash projector (.exe).\n"
             "Without FILE, a magazine started as a program opens itself; the reader\n"
             "alone shows a window to drop a magazine on, or to open one (Ctrl+O).\n"
             "\n"
             "      --forget   remove what the magazine FILE stored to keep between runs\n"
             "                 (bookmarks, settings, scores) and exit\n"
             "  -h, --help     show this help and exit\n"
             "      --version  show the version and exit\n"
             "  --             end of options (for a FILE whose name starts with -)\n")
             .arg(program) +
         QCoreApplication::translate(
             "CommandLine",
             "\n"
             "A magazine starts in a borderless window that fills the screen's free area\n"
             "(maximized).\n"
             "  F11            true full screen, above the desktop's panels, and back\n"
             "  Escape         the window of the movie's size (the magazine is told)\n"
             "  Ctrl+O         open another magazine in its place\n"
             "  F1             the keys, the version, the licences and the files\n"
             "  Alt+F4         close the reader (or the magazine's own Quit button)\n"
             "Every other key is the magazine's: most turn their pages with the arrow\n"
             "keys, Page Up, Page Down and Home.\n"
             "\n"
             "The start screen shows the shelf of magazines opened lately, newest first:\n"
             "Enter or a click opens one, Delete forgets it; Ctrl+O opens another.\n"
             "\n"
             "Files (XDG_STATE_HOME is ~/.local/state, XDG_DATA_HOME ~/.local/share\n"
             "unless set):\n"
             "  $XDG_STATE_HOME/pagoro/recent           the shelf; its pictures in covers/\n"
             "  $XDG_STATE_HOME/pagoro/shared-objects/  what the magazines remember\n"
             "  $XDG_DATA_HOME/pagoro/NAME/             a magazine's files while it plays\n");
}

}  // namespace pagoro
