#include "swf/sprites.h"

#include <limits>
#include <stdexcept>

namespace pagoro::swf {

SpriteBuilder& SpriteBuilder::Add(const Tag& tag) {
  if (tag.code == TagCode::kShowFrame) {
    if (frame_count_ == 0xffff) throw std::length_error("too many frames");
    ++frame_count_;
  }
  tags_.Raw(tag.Encode());
  return *this;
}

Tag SpriteBuilder::Finish() const {
  ByteWriter w;
  w.U16(id_);
  w.U16(static_cast<std::uint16_t>(frame_count_));
  w.Raw(tags_.bytes());
  w.Raw(End().Encode());
  return Tag{TagCode::kDefineSprite, w.Take()};
}

Tag ExportAssets(const std::vector<std::pair<std::uint16_t, std::string>>& names) {
  if (names.size() > std::numeric_limits<std::uint16_t>::max()) {
    throw std::length_error("too many exports");
  }
  ByteWriter w;
  w.U16(static_cast<std::uint16_t>(names.size()));
  for (const auto& [id, name] : names) {
    w.U16(id);
    w.String(name);
  }
  return Tag{TagCode::kExportAssets, w.Take()};
}

Bytes EncodeClipActions(int version, const std::vector<ClipAction>& handlers) {
  if (version < 5) throw std::invalid_argument("clip events need version 5 or later");
  const bool wide = version >= 6;
  const auto flags = [&](ByteWriter& w, std::uint32_t events) {
    if (wide) {
      w.U32(events);
    } else {
      if (events > 0x1ff) throw std::invalid_argument("clip event needs version 6");
      w.U16(static_cast<std::uint16_t>(events));
    }
  };
  std::uint32_t all = 0;
  for (const ClipAction& h : handlers) all |= h.events;
  ByteWriter w;
  w.U16(0);  // reserved
  flags(w, all);
  for (const ClipAction& h : handlers) {
    if (h.events == 0) throw std::invalid_argument("clip action without events");
    flags(w, h.events);
    const bool keyed = (h.events & clip_event::kKeyPress) != 0;
    w.U32(static_cast<std::uint32_t>(h.actions.size() + (keyed ? 1 : 0)));
    if (keyed) w.U8(h.key);
    w.Raw(h.actions);
  }
  flags(w, 0);  // end of the handlers
  return w.Take();
}

}  // namespace pagoro::swf
