#include "swf/movie.h"

#include <lzma.h>
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
  if (options.width <= 0 || options.height <= 0 || options.width > 8191 || options.height > 8191) {
    throw std::invalid_argument("movie size out of range");
  }
  if (!(options.frame_rate > 0 && options.frame_rate < 256)) {
    throw std::invalid_argument("frame rate out of range");
  }
  if (options.version >= 8) Add(FileAttributes(options.file_attributes));
}

MovieBuilder& MovieBuilder::Add(const Tag& tag) {
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
  Bytes out(fws.begin(), fws.begin() + kHeaderPrefix);
  out[0] = 'C';
  const Bytes packed = Deflate(std::span(fws).subspan(kHeaderPrefix));
  out.insert(out.end(), packed.begin(), packed.end());
  return out;
}

Bytes LzmaCompressMovie(const Bytes& fws) {
  if (fws.size() < kHeaderPrefix) throw std::invalid_argument("not a movie");
  lzma_options_lzma options{};
  if (lzma_lzma_preset(&options, 6) != 0) throw std::runtime_error("LZMA preset missing");
  lzma_stream z = LZMA_STREAM_INIT;
  if (lzma_alone_encoder(&z, &options) != LZMA_OK)
    throw std::runtime_error("LZMA encoder failed to start");
  // The .lzma form: 5 bytes of properties, 8 of size, then the stream.
  Bytes alone(fws.size() + fws.size() / 2 + 1024);
  z.next_in = fws.data() + kHeaderPrefix;
  z.avail_in = fws.size() - kHeaderPrefix;
  z.next_out = alone.data();
  z.avail_out = alone.size();
  const lzma_ret rc = lzma_code(&z, LZMA_FINISH);
  alone.resize(alone.size() - z.avail_out);
  lzma_end(&z);
  constexpr std::size_t kProperties = 5, kAloneHeader = 13;
  if (rc != LZMA_STREAM_END || alone.size() < kAloneHeader)
    throw std::runtime_error("LZMA compression failed");
  // The movie's form: its header, the stream's length, the properties and
  // the stream, without the .lzma size field.
  ByteWriter out;
  out.Raw("ZWS");
  out.U8(fws[3]);
  out.Raw(std::span<const std::uint8_t>(fws).subspan(4, 4));
  out.U32(static_cast<std::uint32_t>(alone.size() - kAloneHeader));
  out.Raw(std::span<const std::uint8_t>(alone).first(kProperties));
  out.Raw(std::span<const std::uint8_t>(alone).subspan(kAloneHeader));
  return out.Take();
}

}  // namespace pagoro::swf
