// Event sounds: uncompressed 16-bit PCM defined once and started by a tag.
#pragma once

#include <cstdint>
#include <span>

#include "swf/tags.h"

namespace pagoro::swf {

enum class SoundRate : std::uint8_t { k5512 = 0, k11025 = 1, k22050 = 2, k44100 = 3 };

// Mono 16-bit samples as sound `id`.
Tag DefineSound(std::uint16_t id, SoundRate rate, std::span<const std::int16_t> samples);
// Starts sound `id` once.
Tag StartSound(std::uint16_t id);

}  // namespace pagoro::swf
