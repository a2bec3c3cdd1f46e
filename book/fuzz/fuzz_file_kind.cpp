// libFuzzer target: an arbitrary file judged by its content, as the reader
// judges a file it is given: every answer stays inside the file's bytes
// (the sanitizers see any read outside them) and agrees with itself.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "book/file_kind.h"
#include "swf/movie_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A copy of exactly the input's size, so that a read past it is caught.
  const std::vector<unsigned char> copy(data, data + size);
  const pagoro::Bytes file(copy.data(), copy.size());
  const pagoro::FileKind kind = pagoro::KindOfContent(file);
  if (const auto text = pagoro::ContainerIndexText(file)) {
    if (text->size() + 4 > file.size()) std::abort();
  }
  const auto movie = pagoro::ProjectorMovie(file);
  if (movie &&
      (movie->data() < file.data() || movie->data() + movie->size() > file.data() + file.size()))
    std::abort();
  switch (kind) {
    case pagoro::FileKind::kBook:
      if (!pagoro::HoldsBookContainer(file)) std::abort();
      break;
    case pagoro::FileKind::kProjector:
      if (!movie || pagoro::HoldsBookContainer(file)) std::abort();
      break;
    case pagoro::FileKind::kMovie:
      if (!pagoro::swf::MovieSignature(file) || movie || pagoro::HoldsBookContainer(file))
        std::abort();
      break;
    case pagoro::FileKind::kNone:
      if (pagoro::swf::MovieSignature(file) || movie || pagoro::HoldsBookContainer(file))
        std::abort();
      break;
  }
  // Judged through reads that fail from one on (the input's first byte
  // says which): no answer, or the same one.
  if (size > 0) {
    int reads = 0;
    const auto judged =
        pagoro::JudgeFile(size, [&](std::uint64_t offset, std::size_t length, unsigned char* out) {
          if (offset > size || length > size - offset) std::abort();
          if (reads++ >= data[0] % 4) return false;
          std::memcpy(out, copy.data() + offset, length);
          return true;
        });
    if (judged && judged->kind != kind) std::abort();
  }
  (void)pagoro::swf::StageSize(file);
  return 0;
}
