#include "swf/movie.h"

#include <zlib.h>

#include <cmath>
#include <stdexcept>

namespace pagoro::swf {

namespace {

constexpr std::size_t kHeaderPrefix = 8;  // signature, version, file length

}  // namespace

MovieBuilder::MovieBuilder(const MovieOptions& options) : options_(options) {
  if (options.version < 1 || options.version > 255) {
    throw std::invalid_argument("movie version out of range");
  }
  if (options.width <= 0 || options.height <= 0 || options.width > 8191 ||
      options.height > 8191) {
    throw std::invalid_argument("movie size out of range");
  }
  if (!(options.frame_rate > 0 && options.frame_rate < 256)) {
    throw std::invalid_argument("frame rate out of range");
  }
  if (options.version >= 8) Add(FileAttributes(options.file_attributes));
}

MovieBuilder& MovieBuilder::Add(Tag tag) {
  if (tag.code == TagCode::kShowFrame) {
    if (frame_count_ == 0xffff) throw std::length_error("too many frames");
    ++frame_count_;
  }
  tags_.Raw(tag.Encode());
  return *this;
}

MovieBuilder& MovieBuilder::Add(const std::vector<Tag>& tags) {
  for (const Tag& t : tags) Add(t);
  return *this;
}

Bytes MovieBuilder::Finish() const {
  ByteWriter body;
  WriteRect(body, PixelRect(0, 0, options_.width, options_.height));
  body.U16(static_cast<std::uint16_t>(std::lround(options_.frame_rate * 256)));
  body.U16(static_cast<std::uint16_t>(frame_count_));
  body.Raw(tags_.bytes());
  body.Raw(End().Encode());

  const std::size_t total = kHeaderPrefix + body.size();
  if (total > 0xffffffffU) throw std::length_error("movie too large");
  ByteWriter file;
  file.Raw("FWS");
  file.U8(static_cast<std::uint8_t>(options_.version));
  file.U32(static_cast<std::uint32_t>(total));
  file.Raw(body.bytes());
  return options_.compressed ? CompressMovie(file.bytes()) : file.Take();
}

Bytes CompressMovie(const Bytes& fws) {
  if (fws.size() < kHeaderPrefix) throw std::invalid_argument("not a movie");
  const uLong source_size = static_cast<uLong>(fws.size() - kHeaderPrefix);
  uLongf packed_size = compressBound(source_size);
  Bytes out(kHeaderPrefix + packed_size);
  if (compress2(out.data() + kHeaderPrefix, &packed_size, fws.data() + kHeaderPrefix,
                source_size, Z_BEST_COMPRESSION) != Z_OK) {
    throw std::runtime_error("zlib compression failed");
  }
  std::copy(fws.begin(), fws.begin() + kHeaderPrefix, out.begin());
  out[0] = 'C';
  out.resize(kHeaderPrefix + packed_size);
  return out;
}

}  // namespace pagoro::swf
