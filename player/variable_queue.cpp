#include "player/variable_queue.h"

#include <QSet>

namespace pagoro {

void VariableQueue::Push(const QString& name, const QString& value) { pending_.emplace_back(name, value); }

std::vector<VariableQueue::Assignment> VariableQueue::TakeBatch() {
  std::vector<Assignment> batch;
  QSet<QString> names;
  while (!pending_.empty() && !names.contains(pending_.front().first)) {
    names.insert(pending_.front().first);
    batch.push_back(std::move(pending_.front()));
    pending_.pop_front();
  }
  return batch;
}

std::size_t VariableQueue::Clear() {
  const std::size_t dropped = pending_.size();
  pending_.clear();
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
