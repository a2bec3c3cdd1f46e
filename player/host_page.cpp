#include "player/host_page.h"

#include <QWebEngineSettings>

#include "player/movie_scheme.h"
#include "player/player_log.h"

namespace pagoro {

bool OpensInBrowser(const QUrl& url) {
  return url.isValid() && (url.scheme() == "http" || url.scheme() == "https") && !url.host().isEmpty();
}

HostPage::HostPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent), links_(own_links_) {}

HostPage::HostPage(QWebEngineProfile* profile, HostPage* opener)
    : QWebEnginePage(profile, opener), popup_(true), links_(opener->links_) {
  // Nothing runs in a window the movie opens, not even a javascript: URL.
  settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
}

bool HostPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool is_main_frame) {
  if (!popup_ && is_main_frame && url == MovieScheme::HostPageUrl() && type != NavigationTypeLinkClicked) {
    return true;
  }
  if (OpensInBrowser(url)) {
    links_.Open(url);
  } else {
    qCInfo(lcPlayer) << "refused navigation to" << url.toString();
  }
  if (popup_) deleteLater();
  return false;
}

QWebEnginePage* HostPage::createWindow(WebWindowType) { return new HostPage(profile(), this); }

void HostPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                        const QString& source) {
  if (level == ErrorMessageLevel) {
    qCWarning(lcPlayer).noquote() << "page:" << message << "(" << source << line << ")";
  } else {
    qCDebug(lcPlayer).noquote() << "page:" << message << "(" << source << line << ")";
  }
}

}  // namespace pagoro
