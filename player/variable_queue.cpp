#include "player/variable_queue.h"

#include <algorithm>

namespace pagoro {

std::size_t VariableQueue::Push(const Assignment& assignment) {
  std::size_t replaced = 0;
  const auto same = std::find_if(pending_.begin(), pending_.end(), [&](const Assignment& a) {
    return a.name == assignment.name && (a.answer_to > 0) == (assignment.answer_to > 0);
  });
  if (same != pending_.end()) {
    pending_.erase(same);
    ++replaced;
  } else if (pending_.size() >= kMaxValues) {
    pending_.pop_front();
    ++replaced;
  }
  pending_.push_back(assignment);
  return replaced;
}

std::vector<VariableQueue::Assignment> VariableQueue::TakeAll() {
  std::vector<Assignment> all(std::make_move_iterator(pending_.begin()),
                              std::make_move_iterator(pending_.end()));
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
  out.reserve(3 * static_cast<qsizetype>(batch.size()));
  for (const Assignment& a : batch) out << a.name << a.value << QString::number(a.answer_to);
  return out;
}

}  // namespace pagoro
