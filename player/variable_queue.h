// VariableQueue: the values set on a movie that the movie has not fetched
// yet. The movie polls; each poll takes the longest run of queued values
// from the front whose names are all different, so a response never holds
// two values of one variable and every value arrives once, in order. (The
// page hands a response to the movie only once the previous one had a
// frame to be seen in: fetch-shim.js.)
#pragma once

#include <QByteArray>
#include <QString>
#include <deque>
#include <utility>
#include <vector>

namespace pagoro {

class VariableQueue {
 public:
  using Assignment = std::pair<QString, QString>;  // name, value

  void Push(const QString& name, const QString& value);
  // Removes and returns the next batch (empty when nothing is queued).
  std::vector<Assignment> TakeBatch();
  // Drops everything queued and returns how many values were dropped.
  std::size_t Clear();
  bool Empty() const { return pending_.empty(); }

  // "name=value&name=value", names and values URL-encoded UTF-8: the form
  // a movie's loadVariables reads.
  static QByteArray Encode(const std::vector<Assignment>& batch);

 private:
  std::deque<Assignment> pending_;
};

}  // namespace pagoro
