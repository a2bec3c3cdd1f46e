// Inflates zlib data that tests expect to hold at most `size` bytes (the
// movie writer's compressed bitmaps, PNG image data); a failure fails the
// test and gives what was inflated.
#pragma once

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace pagoro::testing {

inline std::vector<std::uint8_t> Inflate(std::span<const std::uint8_t> in, std::size_t size) {
  std::vector<std::uint8_t> out(size + 16);
  uLongf n = static_cast<uLongf>(out.size());
  EXPECT_EQ(uncompress(out.data(), &n, in.data(), static_cast<uLong>(in.size())), Z_OK);
  out.resize(n);
  return out;
}

}  // namespace pagoro::testing
