// pagoro-book: looks into, extracts and makes book executables with the
// reader's own code.
#include <unistd.h>

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "book/book.h"
#include "book/cp936.h"
#include "book/env.h"
#include "book/format.h"
#include "book/packer.h"
#include "book/text.h"
#include "core/cache_folder.h"

namespace pagoro {
namespace {

constexpr int kExitError = 1;
constexpr int kExitUsage = 2;
constexpr const char* kMainMovieName = "main.swf";

constexpr const char* kUsage =
    "Usage: pagoro-book COMMAND ...\n"
    "\n"
    "  extract BOOK DIR   write the files of BOOK into the folder DIR as the reader\n"
    "                     does into a cache folder, main.swf included; DIR must\n"
    "                     exist and hold no files\n"
    "  info BOOK          print the format version, movie size and entry count\n"
    "  list BOOK          print each entry line: name, offset, size (tab-separated)\n"
    "  pack DIR -o OUT [--format 1.0|2.0] [--size WxH] [--reader FILE]\n"
    "                     make the book executable OUT from the files of DIR\n"
    "                     (main.swf first); the image is FILE, by default the\n"
    "                     pagoro program next to this tool, else none;\n"
    "                     defaults: --format 2.0 --size 800x600\n"
    "  --help             show this text\n"
    "  --version          show the version\n";

// Bad arguments: the usage text follows the message.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A failure in the tool's own words (the reader's messages come as they are).
class ToolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The book side of the tool: temporary files of its own, a folder emptied as
// the reader empties a cache folder, the mapping message on stderr.
class ToolHost : public BookHost {
 public:
  explicit ToolHost(Env& env) : env_(env), temp_files_(env) {}
  std::string NewTempFileName() override { return temp_files_.NewTempFileName(); }
  void ClearFolder(const std::string& folder) override { pagoro::ClearFolder(env_, folder); }
  void ShowMessage(const std::string& text) override { std::cerr << text << "\n"; }

 private:
  Env& env_;
  TempFiles temp_files_;
};

void RequireBookFile(Env& env, const std::string& path) {
  if (!env.FileExists(path)) throw ToolError("No book file at \"" + path + "\"");
}

// Loads the book at `path`; the index has its header line afterwards.
void LoadBook(Env& env, Book& book, const std::string& path) {
  RequireBookFile(env, path);
  book.LoadIndex(path);
}

// The format version text of the loaded book's header line.
std::string FormatOf(const Book& book) {
  return format::VersionOf((*book.BookIndex())[format::kHeaderLine]);
}

// Moves the extracted movie to `to`: a rename where both lie on one file
// system, else a copy.
void MoveFile(Env& env, const std::string& from, const std::string& to) {
  if (env.RenameFile(from, to)) return;
  std::string error;
  const auto view = env.MapReadOnly(from, &error);
  if (!view) throw ToolError("Cannot read \"" + from + "\": " + error);
  env.WriteFile(to, view->data(), view->size());
  env.DeleteFile(from);
}

int Extract(Env& env, const std::string& bookPath, const std::string& dir) {
  RequireBookFile(env, bookPath);
  if (!env.FolderExists(dir)) throw ToolError("\"" + dir + "\" is not a folder");
  const std::string folder = dir.back() == '/' ? dir : dir + "/";
  // The reader empties a cache folder before it writes; a folder of the
  // user's is never emptied, so it must hold no files to begin with.
  for (const std::string& name : env.ListFolder(folder)) {
    if (!env.FolderExists(folder + name)) {
      throw ToolError("\"" + dir + "\" holds files; extract into a folder without files");
    }
  }
  ToolHost host(env);
  Book book(env, host);
  book.LoadIndex(bookPath);
  book.ExtractAssets(folder);
  const std::string movie = book.ExtractMainMovie(kMainMovieName);
  if (!movie.empty()) MoveFile(env, movie, folder + kMainMovieName);
  return 0;
}

int Info(Env& env, const std::string& bookPath) {
  ToolHost host(env);
  Book book(env, host);
  LoadBook(env, book, bookPath);
  const int lines = book.BookIndex()->Count();
  std::cout << "format: " << Cp936ToUtf8(FormatOf(book)) << "\n"
            << "movie: " << book.MovieWidth() << "x" << book.MovieHeight() << "\n"
            << "entries: " << (lines > 2 ? lines - 2 : 0) << "\n";
  return 0;
}

int List(Env& env, const std::string& bookPath) {
  ToolHost host(env);
  Book book(env, host);
  LoadBook(env, book, bookPath);
  const StringList& index = *book.BookIndex();
  const bool rotated = FormatOf(book) == format::kVersion10;
  for (int i = format::kFirstEntryLine; i < index.Count(); ++i) {
    std::string line = index[i];
    const std::string name = CutField(line, "|");
    const std::string offset = CutField(line, "|");
    const std::string size = rotated ? line : CutField(line, "|");
    std::cout << Cp936ToUtf8(name) << "\t" << Cp936ToUtf8(offset) << "\t" << Cp936ToUtf8(size)
              << "\n";
  }
  return 0;
}

// The pagoro program beside this tool, or "" when there is none.
std::string DefaultReader(Env& env) {
  std::string self(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", self.data(), self.size());
  if (n <= 0 || static_cast<std::size_t>(n) >= self.size()) return "";
  self.resize(static_cast<std::size_t>(n));
  const std::string reader = self.substr(0, self.rfind('/') + 1) + "pagoro";
  return env.FileExists(reader) ? reader : "";
}

int Pack(Env& env, const std::vector<std::string>& args) {
  std::string dir;
  std::string out;
  std::string reader;
  bool haveReader = false;
  PackOptions options;
  for (std::size_t i = 1; i < args.size(); ++i) {
    std::string arg = args[i];
    std::string value;
    bool inlineValue = false;
    if (const std::size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
      value = arg.substr(eq + 1);
      arg.resize(eq);
      inlineValue = true;
    }
    const bool takesValue = arg == "-o" || arg == "--output" || arg == "--format" ||
                            arg == "--size" || arg == "--reader";
    if (!takesValue) {
      if (arg.starts_with("-") || inlineValue)
        throw UsageError("unknown option \"" + args[i] + "\"");
      if (!dir.empty()) throw UsageError("more than one folder to pack");
      dir = arg;
      continue;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      value = args[++i];
    }
    if (arg == "-o" || arg == "--output") {
      out = value;
    } else if (arg == "--format") {
      if (value != "1.0" && value != "2.0") throw UsageError("--format is 1.0 or 2.0");
      options.format = value;
    } else if (arg == "--size") {
      if (!ParseMovieSize(value, &options.width, &options.height)) {
        throw UsageError("--size is WIDTHxHEIGHT, for example 800x600");
      }
    } else {
      reader = value;
      haveReader = true;
    }
  }
  if (dir.empty()) throw UsageError("pack needs a folder");
  if (out.empty()) throw UsageError("pack needs -o OUT");
  if (!haveReader) reader = DefaultReader(env);

  std::vector<PackEntry> entries = ReadFolderEntries(dir);
  // A book made into the folder it packs is not packed into the next one.
  std::erase_if(entries, [&](const PackEntry& entry) {
    std::error_code error;
    return std::filesystem::equivalent(dir + "/" + entry.name, out, error);
  });
  const std::string image = reader.empty() ? std::string() : ReadWholeFile(reader);
  WriteBookFile(out, PackBook(image, entries, options));
  if (options.format == "1.0" &&
      (entries.size() > 1 || (entries.size() == 1 && entries[0].name != kMainMovieName))) {
    std::cerr << "pagoro-book: warning: readers stop at the first file besides main.swf of a "
                 "format 1.0 book (its entry line is read in the 2.0 layout); use format 2.0\n";
  }
  return 0;
}

int Run(const std::vector<std::string>& args) {
  Env& env = Env::Default();
  if (args.empty()) throw UsageError("no command");
  const std::string& command = args[0];
  if (command == "--help" || command == "-h") {
    std::cout << kUsage;
    return 0;
  }
  if (command == "--version") {
    std::cout << "pagoro-book " << PAGORO_VERSION << "\n";
    return 0;
  }
  const auto expect = [&](std::size_t count) {
    if (args.size() != count + 1)
      throw UsageError(command + " takes " + std::to_string(count) + " argument" +
                       (count > 1 ? "s" : ""));
  };
  if (command == "extract") {
    expect(2);
    return Extract(env, args[1], args[2]);
  }
  if (command == "info") {
    expect(1);
    return Info(env, args[1]);
  }
  if (command == "list") {
    expect(1);
    return List(env, args[1]);
  }
  if (command == "pack") return Pack(env, args);
  throw UsageError("unknown command \"" + command + "\"");
}

}  // namespace
}  // namespace pagoro

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    return pagoro::Run(args);
  } catch (const pagoro::UsageError& e) {
    std::cerr << "pagoro-book: " << e.what() << "\n" << pagoro::kUsage;
    return pagoro::kExitUsage;
  } catch (const pagoro::ToolError& e) {
    std::cerr << "pagoro-book: " << e.what() << "\n";
    return pagoro::kExitError;
  } catch (const pagoro::PackError& e) {
    std::cerr << "pagoro-book: " << e.what() << "\n";
    return pagoro::kExitError;
  } catch (const std::exception& e) {
    // The reader's own message, exactly as it would show it.
    std::cerr << e.what() << "\n";
    return pagoro::kExitError;
  }
}
