#include "player/host_page.h"

#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

#include "player/movie_scheme.h"
#include "player/player_log.h"

namespace pagoro {

bool OpensInBrowser(const QUrl& url) {
  if (!url.isValid()) return false;
  if (url.scheme() == "mailto") return !url.path().isEmpty();
  return (url.scheme() == "http" || url.scheme() == "https") && !url.host().isEmpty();
}

namespace {

// How often the page counts its frames into the log, when asked to.
constexpr int kFrameLogMs = 1000;
constexpr char kFrameLinePrefix[] = "frames: ";

}  // namespace

HostPage::HostPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent), links_(own_links_), refused_schemes_(own_refused_schemes_) {
  // The page's frames are counted only while their log is on: a script of
  // ours, set before the page's own run, tells the page how often.
  if (lcFrames().isInfoEnabled()) {
    QWebEngineScript frame_log;
    frame_log.setName(QStringLiteral("frame-log"));
    frame_log.setInjectionPoint(QWebEngineScript::DocumentCreation);
    frame_log.setWorldId(QWebEngineScript::MainWorld);
    frame_log.setRunsOnSubFrames(false);
    frame_log.setSourceCode(QStringLiteral("window.frameLogInterval = %1;").arg(kFrameLogMs));
    scripts().insert(frame_log);
  }
}

HostPage::HostPage(QWebEngineProfile* profile, HostPage* opener)
    : QWebEnginePage(profile, opener),
      popup_(true),
      links_(opener->links_),
      gate_(opener->gate_),
      refused_schemes_(opener->refused_schemes_) {
  // Nothing runs in a window the movie opens, not even a javascript: URL.
  settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
}

bool HostPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool is_main_frame) {
  if (!popup_ && is_main_frame && url == MovieScheme::HostPageUrl() &&
      type != NavigationTypeLinkClicked) {
    return true;
  }
  if (OpensInBrowser(url)) {
    if (gate_ == nullptr || gate_->MayOpenLink(url)) links_.Open(url);
  } else if (!refused_schemes_.contains(url.scheme())) {
    // Once a scheme: a movie that tries one in a loop fills no log.
    refused_schemes_.insert(url.scheme());
    qCInfo(lcPlayer) << "refused navigation to" << url.toString()
                     << "(further ones of this scheme are not logged)";
  }
  if (popup_) deleteLater();
  return false;
}

QWebEnginePage* HostPage::createWindow(WebWindowType) { return new HostPage(profile(), this); }

namespace {

// Ruffle writes its log with console.log("%cLEVEL%c place%c text", three
// styles), which reaches us as one line with the styles at its end.
constexpr int kRuffleStyles = 3;

QString WithoutRuffleStyles(const QString& message) {
  if (!message.startsWith(QStringLiteral("%c"))) return message;
  QString text = message;
  qsizetype cut = text.size();
  for (int i = 0; i < kRuffleStyles && cut > 0; ++i)
    cut = text.lastIndexOf(QStringLiteral(" color: "), cut - 1);
  if (cut > 0) text.truncate(cut);
  return text.remove(QStringLiteral("%c")).trimmed();
}

}  // namespace

ConsoleMessage ReadConsoleMessage(QWebEnginePage::JavaScriptConsoleMessageLevel level,
                                  const QString& message) {
  const QString text = WithoutRuffleStyles(message);
  if (level == QWebEnginePage::ErrorMessageLevel) return {ConsoleSeverity::kError, text};
  if (level == QWebEnginePage::WarningMessageLevel) return {ConsoleSeverity::kWarning, text};
  // Ruffle tries its renderers in turn; one it can't make is no failure
  // while another one draws.
  const bool renderer_fallback =
      text.contains(QStringLiteral("renderer")) && text.contains(QStringLiteral("Error creating"));
  if (text.startsWith(QStringLiteral("ERROR"))) {
    return {renderer_fallback ? ConsoleSeverity::kWarning : ConsoleSeverity::kError, text};
  }
  if (text.startsWith(QStringLiteral("WARN"))) return {ConsoleSeverity::kWarning, text};
  return {ConsoleSeverity::kOther, text};
}

void HostPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                        int line, const QString& source) {
  const ConsoleMessage m = ReadConsoleMessage(level, message);
  if (m.severity == ConsoleSeverity::kOther && m.text.startsWith(QLatin1String(kFrameLinePrefix)) &&
      lcFrames().isInfoEnabled()) {
    qCInfo(lcFrames).noquote() << m.text;
    return;
  }
  switch (m.severity) {
    case ConsoleSeverity::kError:
      qCWarning(lcPlayer).noquote() << "page:" << m.text << "(" << source << line << ")";
      break;
    case ConsoleSeverity::kWarning:
      qCInfo(lcPlayer).noquote() << "page:" << m.text << "(" << source << line << ")";
      break;
    case ConsoleSeverity::kOther:
      qCDebug(lcPlayer).noquote() << "page:" << m.text << "(" << source << line << ")";
      break;
  }
}

}  // namespace pagoro
