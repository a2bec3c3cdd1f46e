// Hot paths of the book container: splitting the index, the entry search,
// loading an index, the asset pass and the extraction of single entries in
// both storage versions. Books are made with the packer into a private
// temporary folder that is removed at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "book/book.h"
#include "book/env.h"
#include "book/packer.h"
#include "book/string_list.h"
#include "testing/book_host.h"
#include "testing/private_folder.h"

namespace pagoro {
namespace {

constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kMiB = 1024 * kKiB;

// `n` bytes that differ from position to position.
std::string Pattern(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 251 + 'A') & 0x7F);
  return s;
}

// Entry names as a magazine has them: pages, pictures, sounds.
std::string EntryName(int i) {
  static const char* const kKinds[] = {".xml", ".jpg", ".mp3", ".swf"};
  char name[32];
  std::snprintf(name, sizeof name, "page%06d%s", i, kKinds[i % 4]);
  return name;
}

// The books of one run, each made once in the private folder and kept.
class Shelf {
 public:
  explicit Shelf(std::string folder) : folder_(std::move(folder)) {}

  // A format 2.0 book with a small main movie and `entries` small files.
  const std::string& ManyEntries(int entries) {
    std::string& path = books_["many-" + std::to_string(entries)];
    if (path.empty()) {
      std::vector<PackEntry> files{{"main.swf", "FWS" + Pattern(61)}};
      for (int i = 0; i < entries; ++i)
        files.push_back({EntryName(i), "<?x" + Pattern(29 + i % 64)});
      path = Write("many-" + std::to_string(entries) + ".exe", files, "2.0");
    }
    return path;
  }

  // A format 2.0 book with a small main movie and `count` files of `size` bytes.
  const std::string& LargeEntries(int count, std::int64_t size) {
    const std::string key = "large-" + std::to_string(count) + "x" + std::to_string(size);
    std::string& path = books_[key];
    if (path.empty()) {
      std::vector<PackEntry> files{{"main.swf", "FWS" + Pattern(61)}};
      const std::string bytes = "FLV" + Pattern(static_cast<std::size_t>(size - 3));
      for (int i = 0; i < count; ++i)
        files.push_back({"video" + std::to_string(i) + ".flv", bytes});
      path = Write(key + ".exe", files, "2.0");
    }
    return path;
  }

  // A book of `format` whose main movie is `size` bytes long.
  const std::string& OneMovie(const std::string& format, std::int64_t size) {
    const std::string key = "movie-" + format + "-" + std::to_string(size);
    std::string& path = books_[key];
    if (path.empty()) {
      path = Write(key + ".exe",
                   {{"main.swf", "FWS" + Pattern(static_cast<std::size_t>(size - 3))}}, format);
    }
    return path;
  }

  // The container index text of a book file.
  static std::string IndexText(const std::string& bookPath) {
    const std::string bytes = testing::ReadAll(bookPath);
    const auto* end = reinterpret_cast<const unsigned char*>(bytes.data() + bytes.size());
    const std::uint32_t length =
        end[-4] | end[-3] << 8 | end[-2] << 16 | std::uint32_t{end[-1]} << 24;
    return bytes.substr(bytes.size() - 4 - length, length);
  }

 private:
  std::string Write(const std::string& name, const std::vector<PackEntry>& files,
                    const std::string& format) {
    PackOptions options;
    options.format = format;
    const std::string path = folder_ + "/" + name;
    WriteBookFile(path, PackBook(std::string(4096, '\x7f'), files, options));
    return path;
  }

  std::string folder_;
  std::map<std::string, std::string> books_;
};

// One opened book with the host the tests use (temporary files in TMPDIR).
struct OpenBook {
  explicit OpenBook(const std::string& path) : host(Env::Default()), book(Env::Default(), host) {
    book.LoadIndex(path);
  }
  testing::RecordingHost host;
  Book book;
};

void SplitIndex(benchmark::State& state, Shelf& shelf) {
  const int entries = static_cast<int>(state.range(0));
  const std::string text = Shelf::IndexText(shelf.ManyEntries(entries));
  for (auto _ : state) {
    StringList lines = StringList::FromText(text);
    benchmark::DoNotOptimize(lines);
  }
  state.SetComplexityN(entries);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void LoadIndex(benchmark::State& state, Shelf& shelf) {
  const int entries = static_cast<int>(state.range(0));
  const std::string& path = shelf.ManyEntries(entries);
  testing::RecordingHost host(Env::Default());
  Book book(Env::Default(), host);
  for (auto _ : state) book.LoadIndex(path);
  state.SetComplexityN(entries);
}

// The worst case of the entry search: a name that no line holds, so every
// line is looked at and nothing is written.
void SearchEntry(benchmark::State& state, Shelf& shelf) {
  const int entries = static_cast<int>(state.range(0));
  OpenBook open(shelf.ManyEntries(entries));
  for (auto _ : state) {
    const std::string path = open.book.ExtractHeaderedEntry("absent.swf");
    if (!path.empty()) state.SkipWithError("a missing entry was found");
  }
  state.SetComplexityN(entries);
}

// The whole asset pass of an opening: the folder emptied, every entry written.
void ExtractAssets(benchmark::State& state, Shelf& shelf, const std::string& folder) {
  const int entries = static_cast<int>(state.range(0));
  OpenBook open(shelf.ManyEntries(entries));
  std::filesystem::create_directory(folder);
  for (auto _ : state) open.book.ExtractAssets(folder + "/");
  std::filesystem::remove_all(folder);
  state.SetComplexityN(entries);
  state.SetItemsProcessed(state.iterations() * entries);
}

// The asset pass of a book of a few large files (videos): 4 of range(0) bytes.
void ExtractLargeAssets(benchmark::State& state, Shelf& shelf, const std::string& folder) {
  constexpr int kCount = 4;
  const std::int64_t size = state.range(0);
  OpenBook open(shelf.LargeEntries(kCount, size));
  std::filesystem::create_directory(folder);
  for (auto _ : state) open.book.ExtractAssets(folder + "/");
  std::filesystem::remove_all(folder);
  state.SetBytesProcessed(state.iterations() * kCount * size);
}

// One entry of `state.range(0)` bytes into a new temporary file, deleted
// again outside the timing.
void ExtractMovie(benchmark::State& state, Shelf& shelf, const std::string& format) {
  const std::int64_t size = state.range(0);
  OpenBook open(shelf.OneMovie(format, size));
  for (auto _ : state) {
    const std::string path = open.book.ExtractMainMovie("main.swf");
    state.PauseTiming();
    if (path.empty() || unlink(path.c_str()) != 0) state.SkipWithError("no movie was extracted");
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * size);
}

// What the extraction can at best come to: the same bytes written from
// memory into a new file.
void WriteBaseline(benchmark::State& state, const std::string& folder) {
  const std::int64_t size = state.range(0);
  const std::string bytes = Pattern(static_cast<std::size_t>(size));
  const std::string path = folder + "/baseline";
  for (auto _ : state) {
    Env::Default().WriteFile(path, reinterpret_cast<const unsigned char*>(bytes.data()),
                             bytes.size());
    state.PauseTiming();
    unlink(path.c_str());
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * size);
}

void RegisterAll(Shelf& shelf, const std::string& folder) {
  const auto indexSizes = [](benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(100000)->Complexity();
  };
  const auto entrySizes = [](benchmark::internal::Benchmark* b) {
    b->Arg(kKiB)->Arg(kMiB)->Arg(64 * kMiB)->Unit(benchmark::kMicrosecond);
  };
  indexSizes(benchmark::RegisterBenchmark("SplitIndex", SplitIndex, std::ref(shelf))
                 ->Unit(benchmark::kMicrosecond));
  indexSizes(benchmark::RegisterBenchmark("LoadIndex", LoadIndex, std::ref(shelf))
                 ->Unit(benchmark::kMicrosecond));
  indexSizes(benchmark::RegisterBenchmark("SearchEntry", SearchEntry, std::ref(shelf))
                 ->Unit(benchmark::kMicrosecond));
  indexSizes(benchmark::RegisterBenchmark("ExtractAssets", ExtractAssets, std::ref(shelf),
                                          folder + "/cache")
                 ->Unit(benchmark::kMillisecond));
  benchmark::RegisterBenchmark("ExtractLargeAssets", ExtractLargeAssets, std::ref(shelf),
                               folder + "/large")
      ->Arg(64 * kMiB)
      ->Unit(benchmark::kMillisecond);
  entrySizes(benchmark::RegisterBenchmark("ExtractMovie/1.0", ExtractMovie, std::ref(shelf),
                                          std::string("1.0")));
  entrySizes(benchmark::RegisterBenchmark("ExtractMovie/2.0", ExtractMovie, std::ref(shelf),
                                          std::string("2.0")));
  entrySizes(benchmark::RegisterBenchmark("WriteBaseline", WriteBaseline, folder));
}

}  // namespace
}  // namespace pagoro

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // The books and the files written go to memory (tmpfs) unless
  // PAGORO_BENCH_FOLDER names another place: on a disk, creating files right
  // after deleting thousands costs the file system more than the code under
  // test (ext4 passes over recently deleted inodes), which would hide it.
  const char* place = std::getenv("PAGORO_BENCH_FOLDER");
  if (place == nullptr && std::filesystem::is_directory("/dev/shm")) place = "/dev/shm";
  if (place != nullptr) setenv("TMPDIR", place, 1);
  // TMPDIR and XDG_DATA_HOME point into this folder until it is removed.
  pagoro::testing::PrivateFolder folder;
  std::printf("Books and files in %s\n", folder.path().c_str());
  pagoro::Shelf shelf(folder.path());
  pagoro::RegisterAll(shelf, folder.path());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
