#include "app/command_line.h"

namespace pagoro {

CommandLine ParseCommandLine(const QStringList& arguments) {
  CommandLine result;
  bool options = true;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (options && argument == QLatin1String("--")) {
      options = false;
    } else if (options &&
               (argument == QLatin1String("--help") || argument == QLatin1String("-h"))) {
      result.action = CommandLine::Action::kHelp;
      return result;
    } else if (options && argument == QLatin1String("--version")) {
      result.action = CommandLine::Action::kVersion;
      return result;
    } else if (options && argument == QLatin1String("--forget")) {
      result.action = CommandLine::Action::kForget;
    } else if (options && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
      result.action = CommandLine::Action::kUsageError;
      result.error = QStringLiteral("unknown option %1").arg(argument);
      return result;
    } else if (!result.file.isEmpty()) {
      result.action = CommandLine::Action::kUsageError;
      result.error =
          QStringLiteral("one file at a time (%1 and %2 given)").arg(result.file, argument);
      return result;
    } else if (argument.isEmpty()) {
      result.action = CommandLine::Action::kUsageError;
      result.error = QStringLiteral("an empty file name");
      return result;
    } else {
      result.file = argument;
      result.file_index = static_cast<int>(i);
    }
  }
  if (result.action == CommandLine::Action::kForget && result.file.isEmpty()) {
    result.action = CommandLine::Action::kUsageError;
    result.error = QStringLiteral("--forget needs the magazine's FILE");
  }
  return result;
}

QString HelpText(const QString& program) {
  return QStringLiteral(
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
      .arg(program);
}

}  // namespace pagoro
