#include "player/browser_links.h"

#include <QDesktopServices>

#include "player/player_log.h"

namespace pagoro {

BrowserLinks::BrowserLinks(std::function<void(const QUrl&)> open) : open_(std::move(open)) {
  if (!open_) open_ = [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

bool BrowserLinks::Open(const QUrl& url, Clock::time_point now) {
  if (last_opened_ && now - *last_opened_ < kInterval) {
    qCInfo(lcPlayer) << "link dropped (one a second at most):" << url.toString();
    return false;
  }
  last_opened_ = now;
  qCInfo(lcPlayer) << "opening in the browser:" << url.toString();
  open_(url);
  return true;
}

}  // namespace pagoro
