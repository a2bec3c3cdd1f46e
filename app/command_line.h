// The reader's command line: `pagoro [FILE]`, `--forget FILE`, `--help`,
// `--version`.
#pragma once

#include <QString>
#include <QStringList>

namespace pagoro {

struct CommandLine {
  enum class Action { kRun, kForget, kHelp, kVersion, kUsageError };
  Action action = Action::kRun;
  QString file;         // the file to open (or forget); "" for none
  int file_index = -1;  // its place among the arguments, for its bytes
  QString error;        // what is wrong, for kUsageError
};

// Reads the arguments after the program name by the rules both programs
// share (core/arguments.h): "--" ends the options, so a file whose name
// starts with "-" can be given after it; --help wins over anything else.
CommandLine ParseCommandLine(const QStringList& arguments);

// The text of --help for the program called `program`.
QString HelpText(const QString& program);

}  // namespace pagoro
