// TApplication: the reader's QApplication. Reads no command line; an
// exception that escapes an event handler anyway ends up in its top-level
// handler, which shows it and lets the program go on.
#pragma once

#include <QApplication>

#include "app/error_reporter.h"

namespace pagoro {

class TApplication : public QApplication {
  Q_OBJECT
 public:
  TApplication(int& argc, char** argv);

  ErrorReporter& Reporter() { return reporter_; }

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  ErrorReporter reporter_;
};

}  // namespace pagoro
