#include "player/ruffle_files.h"

#include <zstd.h>

#include <QDir>
#include <QFile>
#include <memory>

namespace pagoro {
namespace {

constexpr QLatin1String kFolder(":/pagoro/ruffle/");
// A difference is stored as NAME.from.BASE.zst.
constexpr QLatin1String kFrom(".from.");
constexpr QLatin1String kSuffix(".zst");
// The largest window the build's zstd --long may have used.
constexpr int kMaxWindowLog = 28;

bool ReadResource(const QString& path, QByteArray* bytes) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  *bytes = file.readAll();
  return true;
}

bool PlainName(const QString& name) {
  return !name.isEmpty() && !name.contains('/') && !name.contains("..") && !name.contains(kFrom);
}

}  // namespace

QString RuffleResource(const QString& name) {
  if (!PlainName(name)) return {};
  const QString path = kFolder + name;
  return QFile::exists(path) ? path : QString();
}

bool RebuildRuffleFile(const QString& name, QByteArray* bytes) {
  if (!PlainName(name)) return false;
  const QStringList stored = QDir(kFolder).entryList({name + kFrom + '*' + kSuffix}, QDir::Files);
  if (stored.size() != 1) return false;
  const QString base = stored[0].mid(name.size() + kFrom.size()).chopped(kSuffix.size());
  QByteArray prefix;
  QByteArray frame;
  if (!PlainName(base) || !ReadResource(kFolder + base, &prefix) ||
      !ReadResource(kFolder + stored[0], &frame)) {
    return false;
  }
  const unsigned long long size = ZSTD_getFrameContentSize(frame.constData(), frame.size());
  if (size == ZSTD_CONTENTSIZE_UNKNOWN || size == ZSTD_CONTENTSIZE_ERROR || size > (1ull << 30))
    return false;

  const std::unique_ptr<ZSTD_DCtx, decltype(&ZSTD_freeDCtx)> context(ZSTD_createDCtx(),
                                                                     ZSTD_freeDCtx);
  if (!context ||
      ZSTD_isError(ZSTD_DCtx_setParameter(context.get(), ZSTD_d_windowLogMax, kMaxWindowLog)) ||
      ZSTD_isError(ZSTD_DCtx_refPrefix(context.get(), prefix.constData(), prefix.size()))) {
    return false;
  }
  QByteArray out(static_cast<qsizetype>(size), Qt::Uninitialized);
  ZSTD_inBuffer in{frame.constData(), static_cast<size_t>(frame.size()), 0};
  ZSTD_outBuffer to{out.data(), static_cast<size_t>(out.size()), 0};
  const size_t left = ZSTD_decompressStream(context.get(), &to, &in);
  if (left != 0 || to.pos != to.size) return false;
  *bytes = out;
  return true;
}

}  // namespace pagoro
