// MovieScheme: the private URL scheme the player's web page lives in. It
// serves the host page and Ruffle's files (compiled-in resources), the
// current movie (from memory, as patched) and the files inside the asset
// folder; every other request is refused.
//
// A file is addressed by its absolute path: pagoro://reader/home/u/x.swf.
// So a movie that loads TempPath + name, with TempPath an absolute path,
// reaches the file through the ordinary URL resolution against its own URL.
// Paths are the file system's bytes, whatever their encoding: the URL
// percent-encodes them, and a request is decoded back to the same bytes.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>
#include <string>

#include "player/file_confinement.h"
#include "player/local_sandbox.h"

class QWebEngineUrlRequestJob;

namespace pagoro {

class MovieScheme : public QWebEngineUrlSchemeHandler {
  Q_OBJECT
 public:
  static const QByteArray kName;

  // Registers the scheme with the web engine; only possible before the
  // QApplication exists. Calling it again does nothing.
  static void Register();

  static QUrl HostPageUrl();
  static QUrl FileUrl(const std::string& absolute_path);

  explicit MovieScheme(QObject* parent = nullptr);

  // The movie served at `path`, with `bytes` as its content ("" serves none).
  void SetMovie(const std::string& path, const QByteArray& bytes);
  // The folder whose files the movie may load, opened here: its files are
  // read relative to it while the movie plays.
  void SetAssetFolder(const std::string& folder);
  // Which of the folder's files are served besides the movie: all of a
  // book's, none to a movie that uses the network, no hidden one to another
  // movie opened as a file.
  void SetSandbox(MovieSandbox sandbox) { sandbox_ = sandbox; }

  void requestStarted(QWebEngineUrlRequestJob* job) override;

 private:
  void Refuse(QWebEngineUrlRequestJob* job, const QString& why);
  void ServeInternal(QWebEngineUrlRequestJob* job, const QString& name);
  void ServeFile(QWebEngineUrlRequestJob* job, const QUrl& url);

  std::string movie_path_;
  QByteArray movie_bytes_;
  std::string asset_folder_;
  OpenedFolder opened_folder_;
  MovieSandbox sandbox_ = MovieSandbox::kBook;
};

}  // namespace pagoro
