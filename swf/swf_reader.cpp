#include "swf/swf_reader.h"

#include <lzma.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "swf/movie_header.h"

namespace pagoro::swf {

namespace {

std::uint16_t LoadU16(std::span<const std::uint8_t> d, std::size_t at) {
  return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

std::uint32_t LoadU32(std::span<const std::uint8_t> d, std::size_t at) {
  return static_cast<std::uint32_t>(d[at]) | (static_cast<std::uint32_t>(d[at + 1]) << 8) |
         (static_cast<std::uint32_t>(d[at + 2]) << 16) |
         (static_cast<std::uint32_t>(d[at + 3]) << 24);
}

// Grows `out` by a chunk, `limit` bytes at most in all, for `fill(at, size)`
// to write into; fill returns how much of the chunk it left unwritten.
// False, with `error` set, when `out` holds `limit` bytes already.
template <typename Fill>
bool FillChunk(Bytes& out, std::size_t limit, std::string& error, Fill fill) {
  if (out.size() >= limit) {
    error = "compressed movie larger than " + std::to_string(limit) + " bytes";
    return false;
  }
  const std::size_t chunk = std::min<std::size_t>(limit - out.size(), 1u << 16);
  const std::size_t before = out.size();
  out.resize(before + chunk);
  const std::size_t left = fill(out.data() + before, chunk);
  out.resize(before + chunk - left);
  return true;
}

// Inflates the zlib stream `in` onto `out`, at most `limit` bytes in all.
// A stream that ends early is kept as far as it goes (players do the same).
std::string Inflate(std::span<const std::uint8_t> in, std::size_t limit, Bytes& out) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return "zlib can't be started";
  z.next_in = const_cast<Bytef*>(in.data());  // zlib's API is not const-correct
  z.avail_in = static_cast<uInt>(std::min<std::size_t>(in.size(), 0xffffffffU));
  int rc = Z_OK;
  std::string error;
  while (rc == Z_OK) {
    const bool room = FillChunk(out, limit, error, [&](std::uint8_t* at, std::size_t size) {
      z.next_out = at;
      z.avail_out = static_cast<uInt>(size);
      rc = inflate(&z, Z_NO_FLUSH);
      return std::size_t{z.avail_out};
    });
    if (!room) break;
    if (rc == Z_BUF_ERROR && z.avail_in == 0) break;  // input ended early
  }
  if (error.empty() && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
    error = "compressed movie data is damaged";
  }
  inflateEnd(&z);
  return error;
}

// The most memory the LZMA decoder may take, its dictionary above all. A
// movie's encoder picks a dictionary no larger than the movie, and movies
// under kMaxMovieSize compress well with 64 MiB; a header asking for more
// is refused instead of honoured.
constexpr std::uint64_t kLzmaMemoryLimit = 64u << 20;

// Decodes the LZMA data of a "ZWS" movie (after its 12-byte header: 5 bytes
// of properties, then the stream) onto `out`, at most `limit` bytes in all.
// The stream is handed to liblzma in the .lzma form, which has a size field
// where the movie has none; the size stays unknown, so that a stream with or
// without an end marker decodes, and one that ends early is kept as far as
// it goes, as with zlib.
std::string Unlzma(std::span<const std::uint8_t> in, std::size_t limit, Bytes& out) {
  constexpr std::size_t kProperties = 5;
  if (in.size() < kProperties) return "LZMA movie header cut off";
  std::array<std::uint8_t, kProperties + 8> header{};
  std::copy_n(in.begin(), kProperties, header.begin());
  std::fill(header.begin() + kProperties, header.end(), 0xff);  // size unknown
  lzma_stream z = LZMA_STREAM_INIT;
  if (lzma_alone_decoder(&z, kLzmaMemoryLimit) != LZMA_OK) return "LZMA decoder can't be started";
  std::string error;
  lzma_ret rc = LZMA_OK;
  // The made-up header first, then the movie's stream.
  for (const std::span<const std::uint8_t> part :
       {std::span<const std::uint8_t>(header), in.subspan(kProperties)}) {
    z.next_in = part.data();
    z.avail_in = part.size();
    while (rc == LZMA_OK && (z.avail_in > 0 || part.data() != header.data())) {
      const bool room = FillChunk(out, limit, error, [&](std::uint8_t* at, std::size_t size) {
        z.next_out = at;
        z.avail_out = size;
        rc = lzma_code(&z, part.data() == header.data() ? LZMA_RUN : LZMA_FINISH);
        return z.avail_out;
      });
      if (!room) break;
    }
    if (!error.empty()) break;
  }
  lzma_end(&z);
  if (!error.empty()) return error;
  if (rc == LZMA_MEMLIMIT_ERROR)
    return "LZMA movie needs more than " + std::to_string(kLzmaMemoryLimit >> 20) +
           " MiB to decode";
  // LZMA_BUF_ERROR: the stream ended without its end marker.
  if (rc != LZMA_STREAM_END && rc != LZMA_BUF_ERROR && rc != LZMA_OK)
    return "compressed movie data is damaged";
  return {};
}

}  // namespace

std::string ReadTags(std::span<const std::uint8_t> data, std::size_t offset,
                     std::vector<TagRecord>& tags, bool& has_end) {
  has_end = false;
  while (offset < data.size()) {
    if (data.size() - offset < 2) return "tag header cut off at offset " + std::to_string(offset);
    TagRecord t;
    t.offset = offset;
    const std::uint16_t code_and_length = LoadU16(data, offset);
    t.code = static_cast<std::uint16_t>(code_and_length >> 6);
    std::size_t length = code_and_length & 0x3f;
    std::size_t header = 2;
    if (length == 0x3f) {
      if (data.size() - offset < 6) return "tag header cut off at offset " + std::to_string(offset);
      length = LoadU32(data, offset + 2);
      header = 6;
    }
    t.body_offset = offset + header;
    t.body_length = length;
    if (length > data.size() - t.body_offset) {
      return "tag " + std::to_string(t.code) + " at offset " + std::to_string(offset) +
             " runs past the end of the data";
    }
    tags.push_back(t);
    offset = t.body_offset + length;
    if (t.code == 0) {
      has_end = true;
      break;
    }
  }
  return {};
}

ReadResult ReadMovie(std::span<const std::uint8_t> file) {
  ReadResult result;
  if (file.size() < kHeaderPrefix) {
    result.error = "too short for a movie header";
    return result;
  }
  const std::optional<Compression> signature = MovieSignature(file);
  if (!signature) {
    result.error = "not a movie (no FWS, CWS or ZWS signature)";
    return result;
  }
  const bool fws = *signature == Compression::kNone;
  const bool cws = *signature == Compression::kZlib;
  ParsedMovie m;
  m.compressed = !fws;
  m.version = file[3];
  m.declared_length = LoadU32(file, 4);
  if (fws) {
    if (file.size() > kMaxMovieSize) {
      result.error = "movie larger than " + std::to_string(kMaxMovieSize) + " bytes";
      result.unplayable = true;
      return result;
    }
    m.data.assign(file.begin(), file.end());
  } else {
    m.data.assign(file.begin(), file.begin() + kHeaderPrefix);
    m.data[0] = 'F';
    // A "ZWS" header has the LZMA data's length after the file length; the
    // data runs to the end of the file anyway.
    constexpr std::size_t kLzmaLengthField = 4;
    const std::string error =
        cws ? Inflate(file.subspan(kHeaderPrefix), kMaxMovieSize, m.data)
        : file.size() < kHeaderPrefix + kLzmaLengthField
            ? "LZMA movie header cut off"
            : Unlzma(file.subspan(kHeaderPrefix + kLzmaLengthField), kMaxMovieSize, m.data);
    if (!error.empty()) {
      result.error = error;
      result.unplayable = m.data.size() >= kMaxMovieSize;
      return result;
    }
  }

  // Frame size rectangle: 5 bits of field width, then four fields.
  const std::span<const std::uint8_t> d(m.data);
  if (d.size() <= kHeaderPrefix) {
    result.error = "movie header cut off";
    result.unplayable = true;
    return result;
  }
  const std::optional<FrameRect> frame = ReadFrameRect(d.subspan(kHeaderPrefix));
  const std::size_t rect_bytes = frame ? frame->length : 0;
  m.first_tag_offset = kHeaderPrefix + rect_bytes + 4;
  if (!frame || d.size() < m.first_tag_offset) {
    result.error = "movie header cut off";
    result.unplayable = true;
    return result;
  }
  m.frame_size = frame->rect;
  m.frame_rate = LoadU16(d, kHeaderPrefix + rect_bytes);
  m.frame_count = LoadU16(d, kHeaderPrefix + rect_bytes + 2);

  const std::string error = ReadTags(d, m.first_tag_offset, m.tags, m.has_end);
  if (!error.empty()) {
    result.error = error;
    return result;
  }
  result.movie = std::move(m);
  return result;
}

Bytes MovieStart(std::span<const std::uint8_t> file, std::size_t length) {
  const std::optional<Compression> signature = MovieSignature(file);
  if (!signature) return {};
  const Compression compression = *signature;
  Bytes out;
  if (compression == Compression::kNone) {
    out.assign(file.begin(),
               file.begin() + static_cast<std::ptrdiff_t>(std::min(length, file.size())));
    return out;
  }
  out.assign(file.begin(), file.begin() + kHeaderPrefix);
  out[0] = 'F';
  // Both stop with an error at `length` bytes; what came before is kept.
  constexpr std::size_t kLzmaLengthField = 4;
  if (compression == Compression::kZlib) {
    Inflate(file.subspan(kHeaderPrefix), length, out);
  } else if (file.size() >= kHeaderPrefix + kLzmaLengthField) {
    Unlzma(file.subspan(kHeaderPrefix + kLzmaLengthField), length, out);
  }
  if (out.size() > length) out.resize(length);
  return out;
}

std::optional<ActionRecord> ReadAction(std::span<const std::uint8_t> block, std::size_t at) {
  if (at >= block.size()) return std::nullopt;
  ActionRecord r;
  r.offset = at;
  r.code = block[at];
  std::size_t length = 0;
  std::size_t header = 1;
  if (r.code >= 0x80) {
    if (block.size() - at < 3) return std::nullopt;
    length = LoadU16(block, at + 1);
    header = 3;
  }
  if (length > block.size() - at - header) return std::nullopt;
  r.payload = block.subspan(at + header, length);
  return r;
}

std::optional<std::vector<ActionRecord>> ReadActions(std::span<const std::uint8_t> block) {
  std::vector<ActionRecord> records;
  std::size_t at = 0;
  while (at < block.size()) {
    const auto r = ReadAction(block, at);
    if (!r) return std::nullopt;
    records.push_back(*r);
    at = r->next();
    if (r->code == 0) break;
  }
  return records;
}

}  // namespace pagoro::swf
