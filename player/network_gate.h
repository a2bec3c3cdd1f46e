// NetworkGate: the one gate between the player's page and the network. It
// sees every request of the page (loads, sends, sockets' handshakes) and
// every link the movie opens in the browser, and lets them pass or not by
// the sandbox of the movie that plays (player/local_sandbox.h). A movie that
// may read local files reaches no network: each request and link is
// refused, and the first of each kind is logged with its address (so the
// user can still open a link by hand); a movie that loops is not logged
// again until the next movie.
#pragma once

#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>

#include "player/local_sandbox.h"

namespace pagoro {

class NetworkGate : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT
 public:
  explicit NetworkGate(QObject* parent = nullptr);

  // The sandbox of the movie that plays from now on; refusals are logged
  // anew.
  void SetSandbox(MovieSandbox sandbox);
  MovieSandbox sandbox() const { return sandbox_; }

  // True when the movie may hand `url` to the browser.
  bool MayOpenLink(const QUrl& url);
  // True when the page may load `url` (the player's own scheme always).
  bool MayLoad(const QUrl& url);

  void interceptRequest(QWebEngineUrlRequestInfo& info) override;

 private:
  MovieSandbox sandbox_ = MovieSandbox::kBook;
  bool load_logged_ = false;
  bool link_logged_ = false;
};

}  // namespace pagoro
