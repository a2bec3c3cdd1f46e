#include "swf/sounds.h"

namespace pagoro::swf {

namespace {
constexpr std::uint8_t kUncompressedLittleEndian = 3;
}  // namespace

Tag DefineSound(std::uint16_t id, SoundRate rate, std::span<const std::int16_t> samples) {
  ByteWriter w;
  w.U16(id);
  BitWriter bits;
  bits.UB(4, kUncompressedLittleEndian);
  bits.UB(2, static_cast<std::uint8_t>(rate));
  bits.UB(1, 1);  // 16-bit samples
  bits.UB(1, 0);  // mono
  bits.FlushTo(w);
  w.U32(static_cast<std::uint32_t>(samples.size()));
  for (const std::int16_t s : samples) w.I16(s);
  return Tag{TagCode::kDefineSound, w.Take(), true};
}

Tag StartSound(std::uint16_t id) {
  ByteWriter w;
  w.U16(id);
  w.U8(0);  // sound info: no envelope, loops or in/out points
  return Tag{TagCode::kStartSound, w.Take()};
}

}  // namespace pagoro::swf
