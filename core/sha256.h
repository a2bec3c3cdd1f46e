// SHA-256 (FIPS 180-4), for telling files apart by what they hold.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pagoro {

class Sha256 {
 public:
  Sha256();
  void Add(const unsigned char* bytes, std::size_t size);
  void Add(std::string_view bytes);
  // The digest of everything added; the object is spent afterwards.
  std::array<unsigned char, 32> Finish();

 private:
  void Block(const unsigned char* block);

  std::array<std::uint32_t, 8> state_;
  std::array<unsigned char, 64> pending_{};
  std::size_t pending_size_ = 0;
  std::uint64_t total_ = 0;
};

// The first `bytes` bytes of `digest` as lower-case hex.
std::string Hex(const unsigned char* digest, std::size_t bytes);

}  // namespace pagoro
