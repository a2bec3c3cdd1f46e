// The sample's pages as movie parts: in the files edition each page is a
// movie of its own that loads its picture from the reader's cache folder;
// in the one-movie edition each page is a sprite with its picture inside.
#pragma once

#include <cstddef>
#include <vector>

#include "swf/byte_writer.h"
#include "tools/sample/contents.h"
#include "tools/sample/movie_parts.h"

namespace pagoro::sample {

enum class PictureSource {
  kCacheFile,  // loadMovie(_root.TempPath + file) at run time
  kEmbedded,   // a lossless bitmap inside the movie
};

struct PageParts {
  Parts parts;
  swf::Bytes actions;  // run on the page's first frame; empty for none
};

// Page `index` of `pages`, its ids taken from `ids`.
PageParts BuildPage(const std::vector<Page>& pages, std::size_t index, IdSource& ids,
                    const Fonts& fonts, PictureSource source);

// Page `index` as a movie of its own (files edition).
swf::Bytes PageMovie(const std::vector<Page>& pages, std::size_t index);

// The picture file of a page (PNG).
swf::Bytes PictureFile(const PictureSpot& spot);

}  // namespace pagoro::sample
