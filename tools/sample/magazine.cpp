#include "tools/sample/magazine.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "book/format.h"
#include "tools/sample/pages.h"

namespace pagoro::sample {

std::vector<MagazineFile> EditionFiles(Edition edition) {
  const std::vector<Page>& pages = MagazinePages();
  std::vector<MagazineFile> files;
  files.push_back({std::string(format::kMainMovie), MainMovie(edition, pages)});
  if (edition == Edition::kSingleMovie) return files;
  for (std::size_t n = 0; n < pages.size(); ++n) {
    files.push_back({pages[n].file, PageMovie(pages, n)});
    if (pages[n].picture) files.push_back({pages[n].picture->file, PictureFile(*pages[n].picture)});
  }
  const std::string xml = ContentsXml(pages);
  files.push_back({kContentsFile, swf::Bytes(xml.begin(), xml.end())});
  return files;
}

void WriteEdition(const std::vector<MagazineFile>& files, const std::string& folder) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::u8path(folder);
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (!fs::is_directory(dir, ec))
    throw std::runtime_error("cannot create the folder \"" + folder + "\"");
  if (!fs::is_empty(dir, ec) || ec)
    throw std::runtime_error("the folder \"" + folder + "\" is not empty");
  for (const MagazineFile& file : files) {
    const fs::path path = dir / fs::u8path(file.name);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.bytes.data()),
              static_cast<std::streamsize>(file.bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write \"" + path.string() + "\"");
  }
}

}  // namespace pagoro::sample
