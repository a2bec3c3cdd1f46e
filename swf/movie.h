// Puts a movie file together: the header (signature, version, file length,
// frame size, rate and count) and the tags, uncompressed ("FWS") or with the
// body compressed by zlib ("CWS").
//
//   MovieBuilder movie({.version = 8, .width = 320, .height = 240});
//   movie.Add(SetBackgroundColor({0, 0, 128}));
//   movie.Add(DoAction(ActionBuilder().FsCommand("ready", "").Finish()));
//   movie.Add(ShowFrame());
//   Bytes swf = movie.Finish();
#pragma once

#include <cstdint>
#include <vector>

#include "swf/byte_writer.h"
#include "swf/tags.h"

namespace pagoro::swf {

struct MovieOptions {
  int version = 8;         // 1..255; movies of version 8 and later get FileAttributes
  int width = 550;         // pixels
  int height = 400;        // pixels
  double frame_rate = 12;  // frames per second, in steps of 1/256
  bool compressed = false;
  std::uint32_t file_attributes = 0;  // flags for FileAttributes (version 8+)
};

class MovieBuilder {
 public:
  // Throws std::invalid_argument on a version, size or rate out of range.
  explicit MovieBuilder(const MovieOptions& options);

  // Appends a tag; ShowFrame tags count the frames.
  MovieBuilder& Add(const Tag& tag);
  MovieBuilder& Add(const std::vector<Tag>& tags);

  int frame_count() const { return frame_count_; }
  const MovieOptions& options() const { return options_; }

  // The complete file, ending with the End tag.
  Bytes Finish() const;

 private:
  MovieOptions options_;
  ByteWriter tags_;
  int frame_count_ = 0;
};

// Compresses a whole uncompressed movie file into its "CWS" form.
Bytes CompressMovie(const Bytes& fws);
// ... or into its LZMA ("ZWS") form.
Bytes LzmaCompressMovie(const Bytes& fws);

}  // namespace pagoro::swf
