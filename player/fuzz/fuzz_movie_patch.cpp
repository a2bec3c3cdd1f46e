// libFuzzer target: an arbitrary file given to the movie patcher the two
// ways the player does, as a movie the main movie loads (device fonts
// renamed) and as the main movie (fonts renamed, then the variable receiver
// inserted), each as it comes and, when it is an uncompressed movie, also
// compressed, so that mutations of a movie's tags reach the inflating reader
// too. A patched movie that does not read back, or a movie left unchanged
// whose bytes changed, is a finding.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "player/movie_patch.h"
#include "swf/swf_reader.h"

namespace {

constexpr std::string_view kReceiver = "pagoroSetVariable";

using Span = std::span<const std::uint8_t>;

void Check(bool ok) {
  if (!ok) std::abort();
}

// The movie in its compressed form, quickly: the reader is under test, not
// how well zlib packs.
pagoro::swf::Bytes Compressed(Span fws) {
  constexpr std::size_t kHeader = 8;
  uLongf packed = compressBound(static_cast<uLong>(fws.size() - kHeader));
  pagoro::swf::Bytes out(kHeader + packed);
  std::copy(fws.begin(), fws.begin() + kHeader, out.begin());
  out[0] = 'C';
  Check(compress2(out.data() + kHeader, &packed, fws.data() + kHeader,
                  static_cast<uLong>(fws.size() - kHeader), Z_BEST_SPEED) == Z_OK);
  out.resize(kHeader + packed);
  return out;
}

// What a patch promises: unchanged bytes when nothing was patched, else an
// uncompressed movie that reads back with its header's length right.
void CheckResult(const pagoro::PatchResult& r, Span input) {
  if (!r.patched) {
    Check(std::equal(r.bytes.begin(), r.bytes.end(), input.begin(), input.end()));
    return;
  }
  const pagoro::swf::ReadResult back = pagoro::swf::ReadMovie(r.bytes);
  Check(back.movie.has_value());
  Check(!back.movie->compressed && back.movie->declared_length == r.bytes.size());
}

void Exercise(Span movie) {
  const pagoro::PatchResult fonts = pagoro::RenameDeviceFonts(movie);
  CheckResult(fonts, movie);
  // Renaming is done in one pass: the families are no aliases.
  if (fonts.patched) Check(!pagoro::RenameDeviceFonts(fonts.bytes).patched);
  const pagoro::PatchResult main = pagoro::InsertVariableReceiver(fonts.bytes, kReceiver);
  CheckResult(main, fonts.bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Span input(data, size);
  Exercise(input);
  if (size >= 8 && data[0] == 'F' && data[1] == 'W' && data[2] == 'S') {
    Exercise(Compressed(input));
  }
  return 0;
}
