#include "player/variable_queue.h"

#include <gtest/gtest.h>

namespace pagoro {
namespace {

using Batch = std::vector<VariableQueue::Assignment>;

TEST(VariableQueueTest, BatchesStopBeforeASecondValueOfOneVariable) {
  VariableQueue queue;
  queue.Push("incommand", "Refresh");
  queue.Push("TempPath", "/c/");
  queue.Push("incommand", "Refresh");  // the same value again is a new value
  queue.Push("other", "x");
  queue.Push("incommand", "restore");
  EXPECT_EQ(queue.TakeBatch(), (Batch{{"incommand", "Refresh"}, {"TempPath", "/c/"}}));
  EXPECT_EQ(queue.TakeBatch(), (Batch{{"incommand", "Refresh"}, {"other", "x"}}));
  EXPECT_EQ(queue.TakeBatch(), (Batch{{"incommand", "restore"}}));
  EXPECT_TRUE(queue.TakeBatch().empty());
  EXPECT_TRUE(queue.Empty());
}

TEST(VariableQueueTest, ClearDropsEverything) {
  VariableQueue queue;
  queue.Push("a", "1");
  queue.Push("a", "2");
  EXPECT_EQ(queue.Clear(), 2u);
  EXPECT_TRUE(queue.TakeBatch().empty());
}

TEST(VariableQueueTest, EncodesAsUrlEncodedUtf8) {
  struct Case {
    Batch batch;
    QByteArray encoded;
  } cases[] = {
      {{}, ""},
      {{{"a", ""}}, "a="},
      {{{"TempPath", "/home/u/.local/share/pagoro/杂志/"}},
       "TempPath=%2Fhome%2Fu%2F.local%2Fshare%2Fpagoro%2F%E6%9D%82%E5%BF%97%2F"},
      // Separators and escapes inside a value stay inside it.
      {{{"v", "a=b&c d%+"}, {"w", "1"}}, "v=a%3Db%26c%20d%25%2B&w=1"},
  };
  for (const Case& c : cases) EXPECT_EQ(VariableQueue::Encode(c.batch), c.encoded);
}

}  // namespace
}  // namespace pagoro
