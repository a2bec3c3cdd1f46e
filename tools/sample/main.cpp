// pagoro-sample: writes the files of the sample magazine into a folder, for
// pagoro-book pack to make a book executable of.
#include <exception>
#include <iostream>
#include <string>

#include "tools/sample/contents.h"
#include "tools/sample/magazine.h"
#include "tools/sample/main_movie.h"

namespace {

void PrintLayout() {
  using namespace pagoro::sample;
  for (const ButtonSpot& b : MainButtons()) {
    std::string name = b.name;
    for (char& c : name) c = c == ' ' ? '-' : c;
    std::cout << name << ' ' << b.x << ' ' << b.y << ' ' << b.width << ' ' << b.height << '\n';
  }
  for (int n = kFirstListedPage; n < static_cast<int>(MagazinePages().size()); ++n) {
    const Row r = ContentsRow(n);
    std::cout << "row" << n << ' ' << r.x << ' ' << r.y + kBarHeight << ' ' << r.width << ' '
              << r.height << '\n';
  }
  const ButtonSpot s = StatusLine();
  std::cout << s.name << ' ' << s.x << ' ' << s.y << ' ' << s.width << ' ' << s.height << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  using pagoro::sample::Edition;
  const std::string usage =
      "Usage: pagoro-sample --files|--single-movie FOLDER\n"
      "       pagoro-sample --layout\n"
      "  --files         main.swf, page movies, pictures, table of contents\n"
      "  --single-movie  one main.swf with every page inside\n"
      "FOLDER is created when missing and must be empty.\n"
      "  --layout        print where the main movie's buttons, the contents page's\n"
      "                  rows and the status line are: NAME X Y WIDTH HEIGHT,\n"
      "                  pixels on the 800x600 stage\n";
  if (argc == 2 && std::string(argv[1]) == "--layout") {
    PrintLayout();
    return 0;
  }
  if (argc != 3) {
    std::cerr << usage;
    return 2;
  }
  const std::string mode = argv[1];
  Edition edition;
  if (mode == "--files") {
    edition = Edition::kFiles;
  } else if (mode == "--single-movie") {
    edition = Edition::kSingleMovie;
  } else {
    std::cerr << "pagoro-sample: unknown edition " << mode << "\n" << usage;
    return 2;
  }
  try {
    pagoro::sample::WriteEdition(pagoro::sample::EditionFiles(edition), argv[2]);
  } catch (const std::exception& e) {
    std::cerr << "pagoro-sample: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
