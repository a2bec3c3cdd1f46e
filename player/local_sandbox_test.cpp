#include "player/local_sandbox.h"

#include <gtest/gtest.h>

#include "swf/movie.h"

namespace pagoro {
namespace {

swf::Bytes MovieWith(int version, std::uint32_t attributes, bool compressed, int width = 550) {
  swf::MovieBuilder movie({.version = version,
                           .width = width,
                           .height = 400,
                           .compressed = compressed,
                           .file_attributes = attributes});
  movie.Add(swf::ShowFrame());
  return movie.Finish();
}

// The flag decides in every packing; everything else reads files.
TEST(LocalSandbox, UseNetworkFlagOfTheFirstTagInEveryPacking) {
  using swf::file_attributes::kUseNetwork;
  for (const char packing : {'F', 'C', 'Z'}) {
    SCOPED_TRACE(packing);
    auto pack = [&](const swf::Bytes& fws) {
      return packing == 'C'   ? swf::CompressMovie(fws)
             : packing == 'Z' ? swf::LzmaCompressMovie(fws)
                              : fws;
    };
    EXPECT_EQ(LocalSandboxOf(pack(MovieWith(9, kUseNetwork, false))), MovieSandbox::kLocalNetwork);
    // A large stage needs a long frame rectangle.
    EXPECT_EQ(LocalSandboxOf(pack(MovieWith(9, kUseNetwork, false, 8000))),
              MovieSandbox::kLocalNetwork);
    EXPECT_EQ(LocalSandboxOf(pack(MovieWith(9, swf::file_attributes::kActionScript3, false))),
              MovieSandbox::kLocalFiles);
    EXPECT_EQ(LocalSandboxOf(pack(MovieWith(7, 0, false))), MovieSandbox::kLocalFiles);
  }
  // Cut, damaged or no movie at all: files, not the network.
  const swf::Bytes network = MovieWith(9, kUseNetwork, false);
  for (std::size_t cut = 0; cut < 24; ++cut) {
    const swf::Bytes head(network.begin(), network.begin() + static_cast<std::ptrdiff_t>(cut));
    EXPECT_EQ(LocalSandboxOf(head), MovieSandbox::kLocalFiles) << cut;
  }
  swf::Bytes damaged = swf::CompressMovie(network);
  for (std::size_t i = 8; i < damaged.size(); ++i) damaged[i] = 0xff;
  EXPECT_EQ(LocalSandboxOf(damaged), MovieSandbox::kLocalFiles);
}

}  // namespace
}  // namespace pagoro
