// BrowserLinks: hands the links a movie follows to the user's default
// browser, at most one a second; the others are logged and dropped. A movie
// calling getURL in a loop would otherwise start the browser once per call.
// A second is longer than a movie's burst (a few frames) and shorter than a
// reader takes to click a second link after the browser came up for the
// first.
#pragma once

#include <QUrl>
#include <chrono>
#include <functional>
#include <optional>

namespace pagoro {

class BrowserLinks {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kInterval{1000};

  // `open` starts the browser (QDesktopServices::openUrl by default).
  explicit BrowserLinks(std::function<void(const QUrl&)> open = {});

  // Opens `url` unless a link was opened less than kInterval before `now`.
  // Returns whether it was opened.
  bool Open(const QUrl& url, Clock::time_point now = Clock::now());

 private:
  std::function<void(const QUrl&)> open_;
  std::optional<Clock::time_point> last_opened_;
};

}  // namespace pagoro
