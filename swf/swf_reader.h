// Reads the structure of a movie file without trusting it: the header, the
// list of top-level tags (and of a sprite's tags), and flat action records.
// Every length is checked against the bytes at hand; nothing is read outside
// them. A compressed movie ("CWS" zlib, "ZWS" LZMA) is decompressed first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "swf/byte_writer.h"

namespace pagoro::swf {

struct TagRecord {
  std::uint16_t code = 0;
  std::size_t offset = 0;       // of the tag header, in ParsedMovie::data
  std::size_t body_offset = 0;  // of the body
  std::size_t body_length = 0;
};

struct ParsedMovie {
  bool compressed = false;  // the file was "CWS" or "ZWS"
  std::uint8_t version = 0;
  std::uint32_t declared_length = 0;  // the header's file length
  Bytes data;                         // the whole file uncompressed, starting with "FWS"
  Rect frame_size;
  std::uint16_t frame_rate = 0;  // 8.8 fixed point
  std::uint16_t frame_count = 0;
  std::size_t first_tag_offset = 0;
  // The tags up to and including End; without End when the data stopped
  // at a tag boundary before it.
  std::vector<TagRecord> tags;
  bool has_end = false;

  std::span<const std::uint8_t> Body(const TagRecord& t) const {
    return std::span<const std::uint8_t>(data).subspan(t.body_offset, t.body_length);
  }
};

struct ReadResult {
  std::optional<ParsedMovie> movie;
  std::string error;  // why there is no movie
  // No player could show anything of it: larger than kMaxMovieSize
  // (inflated), or its header is cut off.
  bool unplayable = false;
};

// Largest uncompressed movie accepted (a header may claim up to 4 GiB).
constexpr std::size_t kMaxMovieSize = 256u << 20;

ReadResult ReadMovie(std::span<const std::uint8_t> file);

// The first `length` bytes of the movie in `file` uncompressed, starting
// with "FWS"; fewer when the movie is shorter, damaged or no movie. Only as
// much as they need is inflated.
Bytes MovieStart(std::span<const std::uint8_t> file, std::size_t length);

// Splits tag records out of `data`, starting at `offset`, until End or the
// end of the data. Returns an error text for a tag that runs past the data.
std::string ReadTags(std::span<const std::uint8_t> data, std::size_t offset,
                     std::vector<TagRecord>& tags, bool& has_end);

struct ActionRecord {
  std::uint8_t code = 0;
  std::size_t offset = 0;  // of the action code, in the block
  std::span<const std::uint8_t> payload;

  // Offset of the record that follows.
  std::size_t next() const { return offset + (code >= 0x80 ? 3 : 1) + payload.size(); }
};

// The action record at `at` in `block`; nullopt when it runs past the block.
std::optional<ActionRecord> ReadAction(std::span<const std::uint8_t> block, std::size_t at);

// Splits an action block into records, in stream order (a function body's
// actions follow its DefineFunction record). Stops after End; fails on a
// record that runs past the block.
std::optional<std::vector<ActionRecord>> ReadActions(std::span<const std::uint8_t> block);

}  // namespace pagoro::swf
