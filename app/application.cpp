#include "app/application.h"

#include "core/app_title.h"

namespace pagoro {

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv), reporter_(QString::fromUtf8(kInitialTitle)) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  bool result = false;
  // The handlers guard themselves; this catches what slips past them.
  if (!reporter_.Guard([&] { result = QApplication::notify(receiver, event); })) return true;
  return result;
}

}  // namespace pagoro
