// The files of each edition of the sample magazine, as the packer takes
// them: the files edition holds the main movie, the page movies, the
// pictures and the table of contents; the one-movie edition only main.swf.
#pragma once

#include <string>
#include <vector>

#include "swf/byte_writer.h"
#include "tools/sample/main_movie.h"

namespace pagoro::sample {

struct MagazineFile {
  std::string name;  // UTF-8
  swf::Bytes bytes;
};

std::vector<MagazineFile> EditionFiles(Edition edition);

// Writes the files into `folder`, which is created when missing and must
// hold nothing yet. Throws std::runtime_error saying what went wrong.
void WriteEdition(const std::vector<MagazineFile>& files, const std::string& folder);

}  // namespace pagoro::sample
