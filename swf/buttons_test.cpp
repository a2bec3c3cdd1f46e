#include "swf/buttons.h"

#include <gtest/gtest.h>

#include "swf/actions.h"
#include "testing/action_machine.h"

namespace pagoro::swf {
namespace {

std::uint16_t U16(const Bytes& b, std::size_t at) {
  return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}

struct ParsedAction {
  std::uint16_t conditions;
  Bytes actions;
};

// Follows the action offsets as a player does.
std::vector<ParsedAction> ButtonActions(const Tag& tag) {
  const Bytes& b = tag.body;
  std::vector<ParsedAction> out;
  const std::size_t offset = U16(b, 3);
  if (offset == 0) return out;
  std::size_t at = 3 + offset;
  while (true) {
    const std::uint16_t size = U16(b, at);
    const std::size_t end = size == 0 ? b.size() : at + size;
    out.push_back({U16(b, at + 2), Bytes(b.begin() + at + 4, b.begin() + end)});
    if (size == 0) break;
    at = end;
  }
  return out;
}

TEST(Buttons, ActionsChainFromTheOffsetAndCarryKeyCodes) {
  Button button;
  button.id = 5;
  button.records = {{button_state::kUp | button_state::kOver, 1, 1, Translate(3, 4)},
                    {button_state::kHitTest, 2, 2, {}}};
  button.actions = {
      {button_event::kRelease, 0, ActionBuilder().FsCommand("quit", "").Finish()},
      {0, key_press::kRight, ActionBuilder().NextFrame().Finish()},
      {button_event::kPress, 'n', ActionBuilder().FsCommand("fullscreen", "false").Finish()},
  };
  const Tag tag = DefineButton2(button);
  EXPECT_EQ(tag.code, TagCode::kDefineButton2);
  EXPECT_EQ(U16(tag.body, 0), 5);
  const auto actions = ButtonActions(tag);
  ASSERT_EQ(actions.size(), 3u);
  EXPECT_EQ(actions[0].conditions, button_event::kRelease);
  EXPECT_EQ(actions[1].conditions, key_press::kRight << 9);
  EXPECT_EQ(actions[2].conditions, button_event::kPress | ('n' << 9));
  ActionMachine m;
  for (const auto& a : actions) ASSERT_TRUE(m.Run(a.actions)) << m.error();
  EXPECT_EQ(m.frame_steps, 1);
  ASSERT_EQ(m.url_requests.size(), 2u);
  EXPECT_EQ(m.url_requests[0].url, "FSCommand:quit");
  EXPECT_EQ(m.url_requests[1].target, "false");
}

TEST(Buttons, RecordsEndWithAZeroByteAndNoActionsMeansOffsetZero) {
  Button button;
  button.id = 1;
  button.records = {{button_state::kAll, 9, 1, {}}};
  const Tag tag = DefineButton2(button);
  EXPECT_EQ(U16(tag.body, 3), 0);
  // flags, character, depth, identity matrix (1 byte), no colour transform
  // (1 byte), then the end of the records.
  EXPECT_EQ(tag.body.size(), 5u + 1 + 2 + 2 + 1 + 1 + 1);
  EXPECT_EQ(tag.body.back(), 0);

  button.records[0].states = 0;
  EXPECT_THROW(DefineButton2(button), std::invalid_argument);
  button.records.clear();
  EXPECT_THROW(DefineButton2(button), std::invalid_argument);
}

}  // namespace
}  // namespace pagoro::swf
