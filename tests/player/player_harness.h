// A player control on screen for end-to-end tests, with the movie's
// fscommand calls recorded, the player's log captured, and bounded waits.
// Files go to the private folders tests/with-display.sh sets up.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "player/shockwave_flash.h"
#include "swf/byte_writer.h"

namespace pagoro::testing {

struct Call {
  QString command;
  QString args;
  qint64 at_ms;  // on the harness clock
};

// Stands in for the user's browser: records the addresses handed to it.
class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  explicit UrlRecorder(const QStringList& schemes);
  ~UrlRecorder() override;
  QStringList urls;

 public slots:
  void Open(const QUrl& url) { urls.append(url.toString()); }

 private:
  QStringList schemes_;
};

class PlayerHarness {
 public:
  PlayerHarness();
  ~PlayerHarness();

  TShockwaveFlash& player() { return *player_; }

  // Writes a movie as the reader does: a temporary file "tem*.tmp".
  QString WriteTempMovie(const swf::Bytes& movie);
  // The book's cache folder (ends in "/"), handed to the player.
  const QString& asset_folder() const { return asset_folder_; }
  QString WriteAsset(const QString& name, const QByteArray& bytes);

  // Movie + Play of a file; returns the clock at the call.
  qint64 Load(const QString& path);

  // Processes events until `done` or `timeout_ms`; true when done.
  static bool WaitUntil(const std::function<bool()>& done, int timeout_ms);
  // Waits for the index-th call (from 0) with `command`; null when none came.
  const Call* WaitForCall(const QString& command, int timeout_ms, std::size_t index = 0);
  std::vector<Call> CallsOf(const QString& command) const;
  const std::vector<Call>& calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

  // Lines the player and the movie logged (categories pagoro.player and
  // pagoro.movie) since the last clear.
  QStringList LogLines() const;
  void ClearLog();

  // Runs `script` in the player's page; its value, or null when none came
  // within `timeout_ms`.
  QVariant RunJs(const QString& script, int timeout_ms = 60000);

  // The control's pixels as the X server shows them.
  QImage Screenshot() const;

  qint64 Now() const { return clock_.elapsed(); }

 private:
  std::unique_ptr<TShockwaveFlash> player_;
  std::vector<Call> calls_;
  QElapsedTimer clock_;
  QString asset_folder_;
};

}  // namespace pagoro::testing
