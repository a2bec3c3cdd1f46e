#include "player/variable_queue.h"

#include <QSet>

namespace pagoro {

void VariableQueue::Push(const QString& name, const QString& value) { pending_.emplace_back(name, value); }

std::vector<VariableQueue::Assignment> VariableQueue::TakeBatch(qint64 now_ms) {
  std::vector<Assignment> batch;
  QSet<QString> names;
  while (!pending_.empty()) {
    const QString& name = pending_.front().first;
    if (names.contains(name)) break;
    const auto last = last_handed_out_.constFind(name);
    if (last != last_handed_out_.cend() && now_ms - *last < spacing_ms_) break;
    names.insert(name);
    last_handed_out_.insert(name, now_ms);
    batch.push_back(std::move(pending_.front()));
    pending_.pop_front();
  }
  return batch;
}

std::size_t VariableQueue::Clear() {
  const std::size_t dropped = pending_.size();
  pending_.clear();
  last_handed_out_.clear();
  return dropped;
}

QByteArray VariableQueue::Encode(const std::vector<Assignment>& batch) {
  QByteArray out;
  for (const auto& [name, value] : batch) {
    if (!out.isEmpty()) out += '&';
    out += name.toUtf8().toPercentEncoding();
    out += '=';
    out += value.toUtf8().toPercentEncoding();
  }
  return out;
}

}  // namespace pagoro
