#include "player/browser_links.h"

#include <QDesktopServices>
#include <algorithm>

#include "player/player_log.h"

namespace pagoro {

BrowserLinks::BrowserLinks(std::function<void(const QUrl&)> open) : open_(std::move(open)) {
  if (!open_) open_ = [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

bool BrowserLinks::Open(const QUrl& url, Clock::time_point now) {
  if (last_call_) {
    const double refill = std::chrono::duration<double>(now - *last_call_) / kInterval;
    allowance_ = std::min<double>(kBurst, allowance_ + refill);
  }
  last_call_ = now;
  if (allowance_ < 1) {
    qCInfo(lcPlayer) << "link dropped (too many, one a second at most):" << url.toString();
    return false;
  }
  allowance_ -= 1;
  qCInfo(lcPlayer) << "opening in the browser:" << url.toString();
  open_(url);
  return true;
}

}  // namespace pagoro
