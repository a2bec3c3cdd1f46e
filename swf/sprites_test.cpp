#include "swf/sprites.h"

#include <gtest/gtest.h>

#include "swf/actions.h"
#include "swf/swf_reader.h"

namespace pagoro::swf {
namespace {

TEST(Sprites, FramesAreCountedAndTagsEndWithEnd) {
  SpriteBuilder sprite(12);
  sprite.Add(FrameLabel("one")).Add(ShowFrame()).Add(DoAction(ActionBuilder().Stop().Finish()));
  sprite.Add(ShowFrame());
  const Tag tag = sprite.Finish();
  EXPECT_EQ(tag.code, TagCode::kDefineSprite);
  EXPECT_EQ(tag.body[0] | (tag.body[1] << 8), 12);
  EXPECT_EQ(tag.body[2] | (tag.body[3] << 8), 2);
  std::vector<TagRecord> tags;
  bool has_end = false;
  EXPECT_EQ(ReadTags(tag.body, 4, tags, has_end), "");
  EXPECT_TRUE(has_end);
  ASSERT_EQ(tags.size(), 5u);
  EXPECT_EQ(tags.back().body_offset + tags.back().body_length, tag.body.size());
}

TEST(Sprites, ClipActionFieldsWidenFromVersion6) {
  const Bytes on_load = ActionBuilder().Play().Finish();
  const Bytes on_key = ActionBuilder().NextFrame().Finish();
  const std::vector<ClipAction> handlers{{clip_event::kLoad, 0, on_load},
                                         {clip_event::kKeyDown, 0, on_key}};
  // reserved, all events, then per handler: events, size, actions; then 0.
  const Bytes v5 = EncodeClipActions(5, handlers);
  EXPECT_EQ(v5.size(), 2 + 2 + (2 + 4 + 2) + (2 + 4 + 2) + 2);
  EXPECT_EQ(v5[2], clip_event::kLoad | clip_event::kKeyDown);
  const Bytes v6 = EncodeClipActions(6, handlers);
  EXPECT_EQ(v6.size(), 2 + 4 + (4 + 4 + 2) + (4 + 4 + 2) + 4);

  // A key press handler carries its key before the actions, counted in the size.
  const Bytes keyed = EncodeClipActions(6, {{clip_event::kKeyPress, 'x', on_key}});
  EXPECT_EQ(keyed[10], 3);  // size: key + NextFrame + End
  EXPECT_EQ(keyed[14], 'x');

  EXPECT_THROW(EncodeClipActions(5, {{clip_event::kKeyPress, 'x', on_key}}), std::invalid_argument);
  EXPECT_THROW(EncodeClipActions(4, handlers), std::invalid_argument);
}

TEST(Sprites, ExportNamesAreListedWithTheirIds) {
  const Tag tag = ExportAssets({{3, "page"}, {4, "按钮"}});
  EXPECT_EQ(tag.code, TagCode::kExportAssets);
  const Bytes expected_head{2, 0, 3, 0, 'p', 'a', 'g', 'e', 0, 4, 0};
  EXPECT_EQ(Bytes(tag.body.begin(), tag.body.begin() + 11), expected_head);
  EXPECT_EQ(tag.body.back(), 0);
}

}  // namespace
}  // namespace pagoro::swf
