// BrowserLinks: hands the links a movie follows to the user's default
// browser, one a second in the long run; the others are logged and dropped.
// A movie calling getURL in a loop would otherwise start the browser once
// per call. A movie may open a few links at once (a page and its sponsor's),
// so up to kBurst pass together after a quiet spell; a second is shorter than
// a reader takes to click another link once the browser came up.
#pragma once

#include <QUrl>
#include <chrono>
#include <functional>
#include <optional>

namespace pagoro {

class BrowserLinks {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kInterval{1000};  // one more link each
  static constexpr int kBurst = 3;

  // `open` starts the browser (QDesktopServices::openUrl by default).
  explicit BrowserLinks(std::function<void(const QUrl&)> open = {});

  // Opens `url` unless kBurst links were opened in the last kBurst
  // intervals (more exactly: a bucket of kBurst refilled one each kInterval).
  // Returns whether it was opened.
  bool Open(const QUrl& url, Clock::time_point now = Clock::now());

 private:
  std::function<void(const QUrl&)> open_;
  double allowance_ = kBurst;  // links that may open now
  std::optional<Clock::time_point> last_call_;
};

}  // namespace pagoro
