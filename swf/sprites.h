// Sprites (movie clips defined in the movie), their export names for
// attachMovie, and event handlers attached to a placed clip
// (onClipEvent(load), enterFrame, keyDown, ...).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "swf/tags.h"

namespace pagoro::swf {

// Collects a sprite's control tags (display list, actions, labels, frames).
class SpriteBuilder {
 public:
  explicit SpriteBuilder(std::uint16_t id) : id_(id) {}
  // Appends a tag; ShowFrame tags count the frames.
  SpriteBuilder& Add(const Tag& tag);
  int frame_count() const { return frame_count_; }
  // The DefineSprite tag, its tags ending with End.
  Tag Finish() const;

 private:
  std::uint16_t id_;
  ByteWriter tags_;
  int frame_count_ = 0;
};

// Names characters for attachMovie and for other movies.
Tag ExportAssets(const std::vector<std::pair<std::uint16_t, std::string>>& names);

// Events of a placed clip.
namespace clip_event {
constexpr std::uint32_t kLoad = 0x0001;
constexpr std::uint32_t kEnterFrame = 0x0002;
constexpr std::uint32_t kUnload = 0x0004;
constexpr std::uint32_t kMouseMove = 0x0008;
constexpr std::uint32_t kMouseDown = 0x0010;
constexpr std::uint32_t kMouseUp = 0x0020;
constexpr std::uint32_t kKeyDown = 0x0040;
constexpr std::uint32_t kKeyUp = 0x0080;
constexpr std::uint32_t kData = 0x0100;
// Version 6 and later:
constexpr std::uint32_t kInitialize = 0x0200;
constexpr std::uint32_t kPress = 0x0400;
constexpr std::uint32_t kRelease = 0x0800;
constexpr std::uint32_t kReleaseOutside = 0x1000;
constexpr std::uint32_t kRollOver = 0x2000;
constexpr std::uint32_t kRollOut = 0x4000;
constexpr std::uint32_t kDragOver = 0x8000;
constexpr std::uint32_t kDragOut = 0x10000;
constexpr std::uint32_t kKeyPress = 0x20000;  // with a key_press code
constexpr std::uint32_t kConstruct = 0x40000;
}  // namespace clip_event

struct ClipAction {
  std::uint32_t events = clip_event::kLoad;
  std::uint8_t key = 0;  // key_press code for kKeyPress
  Bytes actions;         // ActionBuilder::Finish()
};

// The clip actions field of PlaceObject2 (PlaceObject::clip_actions) for a
// movie of `version` (5 and later; the event fields widen in version 6).
Bytes EncodeClipActions(int version, const std::vector<ClipAction>& handlers);

}  // namespace pagoro::swf
