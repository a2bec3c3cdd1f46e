#include "app/absolute_path.h"

#include <limits.h>
#include <unistd.h>

#include <QDir>
#include <QString>
#include <array>

namespace pagoro {

std::string AbsolutePath(const std::string& path) {
  // Latin-1 carries any byte, and only "/" and "." matter to the cleaning.
  QString latin = QString::fromLatin1(path);
  std::array<char, PATH_MAX> working{};
  if (!latin.startsWith(QLatin1Char('/')) && getcwd(working.data(), working.size()) != nullptr) {
    latin = QString::fromLatin1(working.data()) + QLatin1Char('/') + latin;
  }
  return QDir::cleanPath(latin).toLatin1().toStdString();
}

}  // namespace pagoro
