#include "swf/actions.h"

#include <gtest/gtest.h>

#include "swf/swf_reader.h"
#include "testing/action_machine.h"

namespace pagoro::swf {
namespace {

TEST(Actions, RecordsCarryTheirLengths) {
  ActionBuilder a;
  a.Push("x").Push(7).PushBool(true).GetVariable().Stop();
  const Bytes block = a.Finish();
  const auto records = ReadActions(block);
  ASSERT_TRUE(records);
  ASSERT_EQ(records->size(), 6u);
  EXPECT_EQ(records->at(0).code, 0x96);
  EXPECT_EQ(records->at(0).payload.size(), 3u);  // type + "x" + zero
  EXPECT_EQ(records->at(1).payload.size(), 5u);  // type + 32-bit integer
  EXPECT_EQ(records->at(2).payload.size(), 2u);
  EXPECT_EQ(records->back().code, 0x00);
  EXPECT_EQ(records->back().next(), block.size());
}

TEST(Actions, BranchesLandOnActionsForwardAndBackward) {
  // i = 0; do { i = i + 1 } while (i < 3); if (i == 3) done = "yes"
  ActionBuilder a;
  const auto loop = a.NewLabel();
  const auto skip = a.NewLabel();
  a.Push("i").Push(0).SetVariable();
  a.Bind(loop);
  a.Push("i").Push("i").GetVariable().Push(1).Add2().SetVariable();
  a.Push("i").GetVariable().Push(3).Less2().If(loop);
  a.Push("i").GetVariable().Push(3).Equals2().Not().If(skip);
  a.Push("done").Push("yes").SetVariable();
  a.Bind(skip);
  ActionMachine m;
  ASSERT_TRUE(m.Run(a.Finish())) << m.error();
  EXPECT_EQ(m.variables["i"].ToNumber(), 3);
  EXPECT_EQ(m.variables["done"].ToString(), "yes");
  EXPECT_EQ(m.stack_size(), 0u);
}

TEST(Actions, UnboundLabelOrBadUseIsAProgrammingError) {
  ActionBuilder a;
  a.Jump(a.NewLabel());
  EXPECT_THROW(a.Finish(), std::logic_error);
  ActionBuilder b;
  const auto l = b.NewLabel();
  b.Bind(l);
  EXPECT_THROW(b.Bind(l), std::logic_error);
  EXPECT_THROW(b.Do(Op::kPush), std::logic_error);
}

TEST(Actions, FunctionBodyFollowsItsDefinition) {
  // function twice(n) { return n + n }  result = twice(21)
  ActionBuilder body;
  body.Push("n").GetVariable().Push("n").GetVariable().Add2().Return();
  ActionBuilder a;
  a.DefineFunction("twice", {"n"}, body);
  a.Push("result").Push(21).CallFunction("twice", 1).SetVariable();
  ActionMachine m;
  ASSERT_TRUE(m.Run(a.Finish())) << m.error();
  EXPECT_EQ(m.variables["result"].ToNumber(), 42);
  EXPECT_TRUE(m.calls.empty());
  EXPECT_EQ(m.stack_size(), 0u);
}

TEST(Actions, AnonymousFunctionIsPushed) {
  // setInterval(function () { fscommand("tick", "") }, 50)
  ActionBuilder body;
  body.FsCommand("tick", "");
  ActionBuilder a;
  a.Push(50).DefineFunction("", {}, body).CallFunction("setInterval", 2).Pop();
  const Bytes block = a.Finish();
  ActionMachine m;
  ASSERT_TRUE(m.Run(block)) << m.error();
  ASSERT_EQ(m.calls.size(), 1u);
  EXPECT_EQ(m.calls[0].name, "setInterval");
  ASSERT_EQ(m.calls[0].args.size(), 2u);
  EXPECT_EQ(m.calls[0].args[1].ToNumber(), 50);
  ASSERT_TRUE(m.Invoke(m.calls[0].args[0], {})) << m.error();
  ASSERT_EQ(m.url_requests.size(), 1u);
  EXPECT_EQ(m.url_requests[0].url, "FSCommand:tick");
}

TEST(Actions, MethodCallTakesObjectAboveItsArguments) {
  // xml.load("toc.xml")
  ActionBuilder a;
  a.Push("toc.xml").Push("xml").GetVariable().CallMethod("load", 1).Pop();
  ActionMachine m;
  ASSERT_TRUE(m.Run(a.Finish())) << m.error();
  ASSERT_EQ(m.calls.size(), 1u);
  EXPECT_EQ(m.calls[0].name, "load");
  ASSERT_EQ(m.calls[0].args.size(), 1u);
  EXPECT_EQ(m.calls[0].args[0].ToString(), "toc.xml");
  EXPECT_EQ(m.stack_size(), 0u);
}

TEST(Actions, DoublesRoundTrip) {
  ActionBuilder a;
  a.Push("x").PushDouble(-2.5).SetVariable();
  ActionMachine m;
  ASSERT_TRUE(m.Run(a.Finish())) << m.error();
  EXPECT_EQ(m.variables["x"].ToNumber(), -2.5);
}

}  // namespace
}  // namespace pagoro::swf
