// VariableQueue: the values set on a movie that have not reached it yet.
// It holds the latest value of each variable only: a newer value of a name
// replaces the queued one and goes to the back, as a host that set
// variables at once would leave only the latest for the movie to see. So
// it stays as small as the number of names, however many values are set.
#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <deque>
#include <utility>
#include <vector>

namespace pagoro {

class VariableQueue {
 public:
  using Assignment = std::pair<QString, QString>;  // name, value

  // Names held at most; a value of one more name drops the oldest queued.
  static constexpr std::size_t kMaxNames = 64;

  // Queues the value; returns how many values it made obsolete (a replaced
  // value of the name, or the oldest one dropped for room).
  std::size_t Push(const QString& name, const QString& value);
  // Removes and returns everything queued, oldest first.
  std::vector<Assignment> TakeAll();
  // Drops everything queued and returns how many values were dropped.
  std::size_t Clear();
  bool Empty() const { return pending_.empty(); }

  // name, value, name, value...: the form the page receives.
  static QStringList Flatten(const std::vector<Assignment>& batch);

 private:
  std::deque<Assignment> pending_;
};

}  // namespace pagoro
