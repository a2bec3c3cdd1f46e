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

TEST(HandOver, AnActivationTokenFollowsTheCall) {
  const std::string call = "front\ntoken abc_123:x\n";
  const HandOverMessage front = ReadHandOver(call);
  ASSERT_EQ(front.kind, HandOverKind::kFront);
  const HandOverMessage token = ReadHandOver(std::string_view(call).substr(front.length));
  EXPECT_EQ(token.kind, HandOverKind::kToken);
  EXPECT_EQ(token.token, "abc_123:x");
  EXPECT_EQ(ReadHandOver("token \n").kind, HandOverKind::kUnknown);
  EXPECT_EQ(ReadHandOver("token a b\n").kind, HandOverKind::kUnknown);
  EXPECT_EQ(ReadHandOver("token a\x01\n").kind, HandOverKind::kUnknown);
}

}  // namespace
}  // namespace pagoro
