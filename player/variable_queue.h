// VariableQueue: the values set on a movie that have not reached it yet.
// It holds the latest value of each variable only: a newer value of a name
// replaces the queued one and goes to the back, as a host that set
// variables at once would leave only the latest for the movie to see. So
// it stays as small as the number of names, however many values are set.
//
// "Latest" is in the movie's order of events. An answer to the movie's
// n-th command belongs inside that command, where the original host set
// it; it reaches the page later, and must not replace a value set (say, on
// a right click) after the command was made. Only the page knows which
// commands it had made when a value arrived (host.js), so the queue keeps,
// per name, the latest answer and the latest other value, for the page to
// rank.
#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <deque>
#include <vector>

namespace pagoro {

class VariableQueue {
 public:
  struct Assignment {
    QString name;
    QString value;
    int answer_to = 0;  // the command it answers, from 1; 0 when none
    bool operator==(const Assignment&) const = default;
  };

  // Values held at most; one more drops the oldest queued.
  static constexpr std::size_t kMaxValues = 128;

  // Queues the value; returns how many values it made obsolete (a replaced
  // value of the name and kind, or the oldest one dropped for room).
  std::size_t Push(const Assignment& assignment);
  // Removes and returns everything queued, oldest first.
  std::vector<Assignment> TakeAll();
  // Drops everything queued and returns how many values were dropped.
  std::size_t Clear();
  bool Empty() const { return pending_.empty(); }

  // name, value, answer_to, name, ...: the form the page receives.
  static QStringList Flatten(const std::vector<Assignment>& batch);

 private:
  std::deque<Assignment> pending_;
};

}  // namespace pagoro
