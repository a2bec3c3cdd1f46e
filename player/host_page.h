// HostPage: the web page the player runs in. It stays on its own host page:
// every navigation away from it is refused, except that http and https
// addresses (a movie's getURL to an advertiser, in this or a new window)
// and mailto: addresses (a "write to the editors" button) are handed to the
// desktop's browser or mail program (BrowserLinks: one a second).
#pragma once

#include <QSet>
#include <QString>
#include <QUrl>
#include <QWebEnginePage>

#include "player/browser_links.h"
#include "player/network_gate.h"

namespace pagoro {

// Whether a link a movie follows may be opened outside the player.
bool OpensInBrowser(const QUrl& url);

// How much a message on the page's console matters: errors (the page's and
// Ruffle's, load failures among them) are logged as warnings, warnings as
// information, the rest for debugging. Ruffle's own lines come without
// their style marks.
enum class ConsoleSeverity { kError, kWarning, kOther };
struct ConsoleMessage {
  ConsoleSeverity severity;
  QString text;
};
ConsoleMessage ReadConsoleMessage(QWebEnginePage::JavaScriptConsoleMessageLevel level,
                                  const QString& message);

class HostPage : public QWebEnginePage {
  Q_OBJECT
 public:
  explicit HostPage(QWebEngineProfile* profile, QObject* parent = nullptr);

  // Links pass `gate` (which must outlive the page) before the browser
  // gets them; without one, all may pass.
  void SetGate(NetworkGate* gate) { gate_ = gate; }

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool is_main_frame) override;
  QWebEnginePage* createWindow(WebWindowType type) override;
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                int line, const QString& source) override;

 private:
  // A page made for a window the movie opens: it only passes the first
  // address on (through the player page's links) and goes away.
  HostPage(QWebEngineProfile* profile, HostPage* opener);

  bool popup_ = false;
  BrowserLinks own_links_;
  BrowserLinks& links_;  // the player page's, for a popup
  NetworkGate* gate_ = nullptr;
  // Schemes refused so far, logged the first time only; the player page's.
  QSet<QString> own_refused_schemes_;
  QSet<QString>& refused_schemes_;
};

}  // namespace pagoro
