// VariableQueue: the values set on a movie that the movie has not fetched
// yet. The movie polls; each poll takes the longest run of queued values
// from the front whose names are all different, so a response never holds
// two values of one variable and every value arrives once, in order.
//
// A movie sees a variable only when its code runs, once a frame, while
// responses land in between: two responses landing between two frames
// would hide the first value. And a movie that lags fires several polls
// at once. So a variable's next value waits until `spacing_ms` have passed
// since its last one was handed out, and everything behind it waits too.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <deque>
#include <utility>
#include <vector>

namespace pagoro {

class VariableQueue {
 public:
  using Assignment = std::pair<QString, QString>;  // name, value

  void Push(const QString& name, const QString& value);
  // Removes and returns the next batch at time `now_ms` (empty when nothing
  // is queued or due).
  std::vector<Assignment> TakeBatch(qint64 now_ms);
  void SetSpacing(qint64 spacing_ms) { spacing_ms_ = spacing_ms; }
  // Drops everything queued and returns how many values were dropped.
  std::size_t Clear();
  bool Empty() const { return pending_.empty(); }

  // "name=value&name=value", names and values URL-encoded UTF-8: the form
  // a movie's loadVariables reads.
  static QByteArray Encode(const std::vector<Assignment>& batch);

 private:
  std::deque<Assignment> pending_;
  QHash<QString, qint64> last_handed_out_;  // name -> time
  qint64 spacing_ms_ = 0;
};

}  // namespace pagoro
