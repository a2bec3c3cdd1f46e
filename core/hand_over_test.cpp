#include "core/hand_over.h"

#include <gtest/gtest.h>

#include <string>

namespace pagoro {
namespace {

TEST(HandOver, OneBoundedLineAtATime) {
  EXPECT_EQ(ReadHandOver("").kind, HandOverKind::kIncomplete);
  EXPECT_EQ(ReadHandOver("fro").kind, HandOverKind::kIncomplete);
  const HandOverMessage front = ReadHandOver("front\nfront\n");
  EXPECT_EQ(front.kind, HandOverKind::kFront);
  EXPECT_EQ(front.length, 6u);
  EXPECT_EQ(ReadHandOver("Front\n").kind, HandOverKind::kUnknown);
  EXPECT_EQ(ReadHandOver("front \n").kind, HandOverKind::kUnknown);
  EXPECT_EQ(ReadHandOver(std::string("front\0\n", 7)).kind, HandOverKind::kUnknown);
  // A line just within the bound is read; one byte more without a newline
  // is too long, however much follows.
  const std::string longest(kMaxHandOverMessage - 1, 'x');
  EXPECT_EQ(ReadHandOver(longest + "\n").kind, HandOverKind::kUnknown);
  EXPECT_EQ(ReadHandOver(longest).kind, HandOverKind::kIncomplete);
  EXPECT_EQ(ReadHandOver(longest + "x").kind, HandOverKind::kTooLong);
  EXPECT_EQ(ReadHandOver(longest + "x\nfront\n").kind, HandOverKind::kTooLong);
}

}  // namespace
}  // namespace pagoro
