#include "player/variable_queue.h"

#include <gtest/gtest.h>

namespace pagoro {
namespace {

using Batch = std::vector<VariableQueue::Assignment>;

TEST(VariableQueueTest, OnlyTheLatestValueOfEachNameIsKeptInTheOrderOfSetting) {
  VariableQueue queue;
  EXPECT_EQ(queue.Push({"incommand", "Refresh"}), 0u);
  EXPECT_EQ(queue.Push({"TempPath", "/c/"}), 0u);
  EXPECT_EQ(queue.Push({"incommand", "Refresh"}), 1u);  // the same value again replaces it
  EXPECT_EQ(queue.Push({"incommand", "restore"}), 1u);
  EXPECT_EQ(queue.TakeAll(), (Batch{{"TempPath", "/c/"}, {"incommand", "restore"}}));
  EXPECT_TRUE(queue.Empty());
  EXPECT_TRUE(queue.TakeAll().empty());
}

// Answers and other values are kept apart, for the page to rank: a late
// answer must not replace a right click's value set after its command.
TEST(VariableQueueTest, TheLatestAnswerAndTheLatestOtherValueOfANameAreKept) {
  VariableQueue queue;
  queue.Push({"incommand", "Refresh", 2});
  queue.Push({"incommand", "restorePage"});
  EXPECT_EQ(queue.Push({"incommand", "Refresh", 3}), 1u);
  EXPECT_EQ(queue.TakeAll(), (Batch{{"incommand", "restorePage"}, {"incommand", "Refresh", 3}}));
}

TEST(VariableQueueTest, AFloodOfValuesAndNamesStaysBounded) {
  VariableQueue queue;
  for (int i = 0; i < 100000; ++i) queue.Push({"incommand", QString::number(i), i + 1});
  for (int i = 0; i < 1000; ++i) queue.Push({"name" + QString::number(i), "x"});
  const Batch all = queue.TakeAll();
  ASSERT_EQ(all.size(), VariableQueue::kMaxValues);
  EXPECT_EQ(all.back(), (VariableQueue::Assignment{"name999", "x"}));
}

TEST(VariableQueueTest, ClearDropsEverythingAndFlattenKeepsTriplesInOrder) {
  VariableQueue queue;
  queue.Push({"a", "1"});
  queue.Push({"b", ""});
  EXPECT_EQ(VariableQueue::Flatten({{"a", "1", 0}, {"b", "a=b&c", 7}}),
            (QStringList{"a", "1", "0", "b", "a=b&c", "7"}));
  EXPECT_EQ(queue.Clear(), 2u);
  EXPECT_TRUE(queue.TakeAll().empty());
}

}  // namespace
}  // namespace pagoro
