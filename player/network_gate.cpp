#include "player/network_gate.h"

#include "player/movie_scheme.h"
#include "player/player_log.h"

namespace pagoro {

namespace {

// Addresses that never leave the page: its own scheme, and data the page
// made itself.
bool StaysInPage(const QUrl& url) {
  const QString scheme = url.scheme();
  return scheme == QString::fromLatin1(MovieScheme::kName) || scheme == QStringLiteral("data") ||
         scheme == QStringLiteral("blob");
}

const char* const kWhy = "a movie opened as a file that may read local files reaches no network";

}  // namespace

NetworkGate::NetworkGate(QObject* parent) : QWebEngineUrlRequestInterceptor(parent) {}

void NetworkGate::SetSandbox(MovieSandbox sandbox) {
  sandbox_ = sandbox;
  load_logged_ = false;
  link_logged_ = false;
}

bool NetworkGate::MayOpenLink(const QUrl& url) {
  if (sandbox_ != MovieSandbox::kLocalFiles) return true;
  if (!link_logged_) {
    link_logged_ = true;
    qCInfo(lcPlayer).noquote() << "refused link" << url.toString() << "-" << kWhy
                               << "(further refusals of this movie are not logged)";
  }
  return false;
}

bool NetworkGate::MayLoad(const QUrl& url) {
  if (sandbox_ != MovieSandbox::kLocalFiles || StaysInPage(url)) return true;
  if (!load_logged_) {
    load_logged_ = true;
    qCInfo(lcPlayer).noquote() << "refused network request" << url.toString() << "-" << kWhy
                               << "(further refusals of this movie are not logged)";
  }
  return false;
}

void NetworkGate::interceptRequest(QWebEngineUrlRequestInfo& info) {
  if (!MayLoad(info.requestUrl())) info.block(true);
}

}  // namespace pagoro
