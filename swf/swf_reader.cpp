#include "swf/swf_reader.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace pagoro::swf {

namespace {

constexpr std::size_t kHeaderPrefix = 8;

std::uint16_t LoadU16(std::span<const std::uint8_t> d, std::size_t at) {
  return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

std::uint32_t LoadU32(std::span<const std::uint8_t> d, std::size_t at) {
  return static_cast<std::uint32_t>(d[at]) | (static_cast<std::uint32_t>(d[at + 1]) << 8) |
         (static_cast<std::uint32_t>(d[at + 2]) << 16) |
         (static_cast<std::uint32_t>(d[at + 3]) << 24);
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
    if (out.size() >= limit) {
      error = "compressed movie larger than " + std::to_string(limit) + " bytes";
      break;
    }
    const std::size_t chunk = std::min<std::size_t>(limit - out.size(), 1u << 16);
    const std::size_t before = out.size();
    out.resize(before + chunk);
    z.next_out = out.data() + before;
    z.avail_out = static_cast<uInt>(chunk);
    rc = inflate(&z, Z_NO_FLUSH);
    out.resize(before + chunk - z.avail_out);
    if (rc == Z_BUF_ERROR && z.avail_in == 0) break;  // input ended early
  }
  if (error.empty() && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
    error = "compressed movie data is damaged";
  }
  inflateEnd(&z);
  return error;
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
  const bool fws = file[0] == 'F' && file[1] == 'W' && file[2] == 'S';
  const bool cws = file[0] == 'C' && file[1] == 'W' && file[2] == 'S';
  if (!fws && !cws) {
    result.error = (file[0] == 'Z' && file[1] == 'W' && file[2] == 'S')
                       ? "LZMA-compressed movies are not supported"
                       : "not a movie (no FWS or CWS signature)";
    return result;
  }
  ParsedMovie m;
  m.compressed = cws;
  m.version = file[3];
  m.declared_length = LoadU32(file, 4);
  if (fws) {
    if (file.size() > kMaxMovieSize) {
      result.error = "movie larger than " + std::to_string(kMaxMovieSize) + " bytes";
      return result;
    }
    m.data.assign(file.begin(), file.end());
  } else {
    m.data.assign(file.begin(), file.begin() + kHeaderPrefix);
    m.data[0] = 'F';
    const std::string error = Inflate(file.subspan(kHeaderPrefix), kMaxMovieSize, m.data);
    if (!error.empty()) {
      result.error = error;
      return result;
    }
  }

  // Frame size rectangle: 5 bits of field width, then four fields.
  const std::span<const std::uint8_t> d(m.data);
  if (d.size() <= kHeaderPrefix) {
    result.error = "movie header cut off";
    return result;
  }
  const unsigned nbits = d[kHeaderPrefix] >> 3;
  const std::size_t rect_bytes = (5 + 4 * nbits + 7) / 8;
  m.first_tag_offset = kHeaderPrefix + rect_bytes + 4;
  if (d.size() < m.first_tag_offset) {
    result.error = "movie header cut off";
    return result;
  }
  std::int32_t fields[4] = {};
  std::size_t bit = 5;
  for (auto& field : fields) {
    std::uint32_t v = 0;
    for (unsigned i = 0; i < nbits; ++i, ++bit) {
      const std::uint8_t byte = d[kHeaderPrefix + bit / 8];
      v = (v << 1) | ((byte >> (7 - bit % 8)) & 1U);
    }
    // Sign-extend from nbits.
    if (nbits > 0 && nbits < 32 && (v >> (nbits - 1)) & 1U) v |= ~((1U << nbits) - 1U);
    field = static_cast<std::int32_t>(v);
  }
  m.frame_size = Rect{fields[0], fields[1], fields[2], fields[3]};
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
