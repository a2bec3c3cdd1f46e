#include "app/mode_requests.h"

namespace pagoro {

ModeRequests::ModeRequests(std::function<void(bool maximized)> apply, QObject* parent)
    : QObject(parent), apply_(std::move(apply)) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &ModeRequests::Apply);
}

void ModeRequests::Request(bool maximized) {
  wanted_maximized_ = maximized;
  if (timer_.isActive()) return;
  const auto since = std::chrono::milliseconds(since_switch_.isValid() ? since_switch_.elapsed()
                                                                       : kInterval.count());
  if (since >= kInterval) return Apply();
  timer_.start(kInterval - since);
}

void ModeRequests::Cancel() { timer_.stop(); }

void ModeRequests::Apply() {
  since_switch_.start();
  apply_(wanted_maximized_);
}

}  // namespace pagoro
