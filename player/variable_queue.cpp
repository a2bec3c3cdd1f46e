#include "player/variable_queue.h"

#include <algorithm>

namespace pagoro {

std::size_t VariableQueue::Push(const QString& name, const QString& value) {
  std::size_t replaced = 0;
  const auto same = std::find_if(pending_.begin(), pending_.end(), [&](const Assignment& a) { return a.first == name; });
  if (same != pending_.end()) {
    pending_.erase(same);
    ++replaced;
  } else if (pending_.size() >= kMaxNames) {
    pending_.pop_front();
    ++replaced;
  }
  pending_.emplace_back(name, value);
  return replaced;
}

std::vector<VariableQueue::Assignment> VariableQueue::TakeAll() {
  std::vector<Assignment> all(std::make_move_iterator(pending_.begin()), std::make_move_iterator(pending_.end()));
  pending_.clear();
  return all;
}

std::size_t VariableQueue::Clear() {
  const std::size_t dropped = pending_.size();
  pending_.clear();
  return dropped;
}

QStringList VariableQueue::Flatten(const std::vector<Assignment>& batch) {
  QStringList out;
  out.reserve(static_cast<qsizetype>(2 * batch.size()));
  for (const auto& [name, value] : batch) out << name << value;
  return out;
}

}  // namespace pagoro
