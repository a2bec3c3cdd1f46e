// pagoro-book: looks into, extracts and makes book executables with the
// reader's own code.
#include <algorithm>
#include <cstdint>
#include <exception>
#include <iostream>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "book/book.h"
#include "book/cp936.h"
#include "book/env.h"
#include "book/errors.h"
#include "book/file_kind.h"
#include "book/format.h"
#include "book/packer.h"
#include "book/texts.h"
#include "core/arguments.h"
#include "core/cache_folder.h"
#include "translations/translations.h"

namespace pagoro {
namespace {

constexpr int kExitError = 1;
constexpr int kExitUsage = 2;
constexpr const char* kPrefix = "pagoro-book: ";
// More packed files than this are summed up rather than named one by one.
constexpr std::size_t kPackedNamesShown = 20;

// Each command's usage, as `help COMMAND` and `COMMAND --help` print it.
struct CommandUsage {
  const char* name;
  const char* text;  // cppcheck-suppress unusedStructMember ; read through UsageOf
};

constexpr CommandUsage kCommandUsages[] = {
    {"info",
     PAGORO_TEXT("pagoro-book",
                 "Usage: pagoro-book info BOOK\n"
                 "\n"
                 "Prints the format version, the movie size and the number of entries of the\n"
                 "book executable BOOK. Fails when an entry lies outside BOOK, as the reader\n"
                 "would refuse it.\n")},
    {"list",
     PAGORO_TEXT("pagoro-book",
                 "Usage: pagoro-book list BOOK\n"
                 "\n"
                 "Prints a header line, then one tab-separated line for each entry of BOOK:\n"
                 "its name, the offset of its stored bytes, the number of bytes stored there\n"
                 "and the size of the file it extracts to. A format 2.0 entry keeps the\n"
                 "first 3 bytes of its file in the index, so its file is 3 bytes longer\n"
                 "than what is stored.\n")},
    {"extract",
     PAGORO_TEXT("pagoro-book",
                 "Usage: pagoro-book extract BOOK DIR\n"
                 "\n"
                 "Writes the files of BOOK into the folder DIR as the reader does into a\n"
                 "cache folder, main.swf included. DIR must exist and hold no files.\n")},
    {"pack",
     PAGORO_TEXT(
         "pagoro-book",
         "Usage: pagoro-book pack DIR -o OUT [--format 1.0|2.0] [--size WxH] [--reader FILE]\n"
         "\n"
         "Makes the book executable OUT from the files directly inside the folder\n"
         "DIR (subfolders are not entered). DIR must hold the main movie, main.swf,\n"
         "which is stored first. The files packed are named on standard error.\n"
         "\n"
         "  -o, --output OUT    the book executable to write\n"
         "  --format 1.0|2.0    the container format (default 2.0); a 1.0 book can\n"
         "                      carry only its main movie\n"
         "  --size WxH          the movie's size in pixels (default 800x600)\n"
         "  --reader FILE       the program the book starts with; by default the\n"
         "                      pagoro program in the same folder as pagoro-book\n"
         "  --                  end of options (for a DIR whose name starts with -)\n")},
    {"reader",
     PAGORO_TEXT("pagoro-book",
                 "Usage: pagoro-book reader BOOK -o OUT\n"
                 "\n"
                 "Writes the reader part of the book executable BOOK to OUT: every byte\n"
                 "before its container, which is the program the book starts with. Of a\n"
                 "book made for Windows, that is the Windows reader program; `pack\n"
                 "--reader OUT` then makes books that start with it, as Windows readers\n"
                 "expect. OUT is written anew (never BOOK itself).\n"
                 "\n"
                 "  -o, --output OUT    the file to write\n"
                 "  --                  end of options (for a BOOK whose name starts with -)\n")},
    {"help", PAGORO_TEXT("pagoro-book",
                         "Usage: pagoro-book help [COMMAND]\n"
                         "\n"
                         "Shows the list of commands, or the usage of COMMAND.\n")},
};

constexpr const char* kUsage =
    PAGORO_TEXT("pagoro-book",
                "Usage: pagoro-book COMMAND [ARGUMENTS]\n"
                "\n"
                "Looks into, unpacks and makes pagoro book executables: magazines made of\n"
                "the reader program with the magazine's files packed onto its end.\n"
                "\n"
                "Commands:\n"
                "  info BOOK           print the format version, movie size and entry count\n"
                "  list BOOK           print each entry: name, offset, stored and file size\n"
                "  extract BOOK DIR    write the files of BOOK into the empty folder DIR\n"
                "  pack DIR -o OUT     make the book executable OUT from the files of DIR\n"
                "                      [--format 1.0|2.0] [--size WxH] [--reader FILE]\n"
                "  reader BOOK -o OUT  write the program BOOK starts with (its reader) to OUT\n"
                "  help [COMMAND]      show this text, or the usage of COMMAND\n"
                "\n"
                "Options:\n"
                "  --help              show this text; COMMAND --help shows that command's\n"
                "  --version           show the version\n"
                "\n"
                "Data goes to standard output, messages to standard error. The exit status\n"
                "is 0 on success, 1 when a command fails and 2 for bad arguments.\n");

// The usage of `command`, or null when there is no such command.
const char* UsageOf(const std::string& command) {
  const auto* found =
      std::find_if(std::begin(kCommandUsages), std::end(kCommandUsages),
                   [&](const CommandUsage& usage) { return command == usage.name; });
  return found == std::end(kCommandUsages) ? nullptr : found->text;
}

// A text of the tool's tables (marked with PAGORO_TEXT) in the user's language.
std::string T(const char* text) { return Tr("pagoro-book", text); }

// Bad arguments: the usage of the command (or the whole usage) follows the
// message.
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& message, std::string command = "")
      : std::runtime_error(message), command_(std::move(command)) {}
  const std::string& command() const { return command_; }

 private:
  std::string command_;
};

// A failure in the tool's own words.
class ToolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The book side of the tool: temporary files of its own, a folder emptied as
// the reader empties a cache folder. The reader's one message (the mapping
// failure) is kept for the caller to report with the file's name.
class ToolHost : public BookHost {
 public:
  explicit ToolHost(Env& env) : env_(env), temp_files_(env) {}
  std::string NewTempFileName() override { return temp_files_.NewTempFileName(); }
  void ClearFolder(const std::string& folder) override { pagoro::ClearFolder(env_, folder); }
  void ShowMessage(const std::string& text) override { shown_ = text; }
  const std::string& shown() const { return shown_; }

 private:
  Env& env_;
  TempFiles temp_files_;
  std::string shown_;
};

std::string InQuotes(const std::string& text) { return "\"" + text + "\""; }

void RequireBookFile(Env& env, const std::string& path) {
  if (env.FolderExists(path))
    throw ToolError(Args(Tr("pagoro-book", "%1 is a folder, not a magazine"), {InQuotes(path)}));
  if (!env.FileExists(path))
    throw ToolError(Args(Tr("pagoro-book", "No book file at %1"), {InQuotes(path)}));
}

// Loads the book at `path`; the index has its header line afterwards. A file
// that can't be mapped or has no index at its end is no book, and is named as
// such; the reader's texts stay for a container that is there but wrong.
void LoadBook(Env& env, const ToolHost& host, Book& book, const std::string& path) {
  RequireBookFile(env, path);
  try {
    book.LoadIndex(path);
  } catch (const Exception& e) {
    // A movie or a projector is something the reader plays, but no book.
    std::string unused;
    const auto view = env.MapReadOnly(path, &unused);
    if (const auto judged = view ? JudgeFile(*view, nullptr) : std::nullopt) {
      if (judged->kind == FileKind::kMovie || judged->kind == FileKind::kProjector) {
        throw ToolError(
            Args(Tr("pagoro-book", "%1 is a Flash movie, not a magazine"), {InQuotes(path)}));
      }
    }
    if (!host.shown().empty()) {
      std::string reason;
      env.MapReadOnly(path, &reason);
      throw ToolError(InQuotes(path) + ": " + host.shown() +
                      (reason.empty() ? "" : " (" + reason + ")"));
    }
    if (book.BookIndex() && book.BookIndex()->Count() == 0) {
      throw ToolError(Args(Tr("pagoro-book", "%1 is not a magazine: no book container at its end"),
                           {InQuotes(path)}));
    }
    throw ToolError(InQuotes(path) + ": " + e.what());
  }
}

// The format version text of the loaded book's header line.
std::string FormatOf(const Book& book) {
  return format::ReadHeaderLine((*book.BookIndex())[format::kHeaderLine]).version;
}

// Moves the extracted movie to `to`: a rename where both lie on one file
// system, else a copy.
void MoveFile(Env& env, const std::string& from, const std::string& to) {
  if (env.RenameFile(from, to)) return;
  std::string error;
  const auto view = env.MapReadOnly(from, &error);
  if (!view)
    throw ToolError(Args(Tr("pagoro-book", "Cannot read %1: %2"), {InQuotes(from), error}));
  env.WriteFile(to, view->data(), view->size());
  env.DeleteFile(from);
}

int Extract(Env& env, const std::string& bookPath, const std::string& dir) {
  RequireBookFile(env, bookPath);
  if (!env.FolderExists(dir))
    throw ToolError(Args(Tr("pagoro-book", "%1 is not a folder"), {InQuotes(dir)}));
  const std::string folder = dir.back() == '/' ? dir : dir + "/";
  // The reader empties a cache folder before it writes; a folder of the
  // user's is never emptied, so it must hold no files to begin with.
  for (const std::string& name : env.ListFolder(folder)) {
    if (!env.FolderExists(folder + name)) {
      throw ToolError(Args(Tr("pagoro-book", "%1 holds files; extract into a folder without files"),
                           {InQuotes(dir)}));
    }
  }
  ToolHost host(env);
  Book book(env, host);
  LoadBook(env, host, book, bookPath);
  try {
    book.ExtractAssets(folder);
    const std::string movie = book.ExtractMainMovie(std::string(format::kMainMovie));
    if (!movie.empty()) MoveFile(env, movie, folder + std::string(format::kMainMovie));
  } catch (const Exception& e) {
    throw ToolError(InQuotes(bookPath) + ": " + e.what());
  }
  return 0;
}

int Info(Env& env, const std::string& bookPath) {
  ToolHost host(env);
  Book book(env, host);
  LoadBook(env, host, book, bookPath);
  const StringList& index = *book.BookIndex();
  const int lines = index.Count();
  // Every entry as the reader reads it: one it would refuse fails here too.
  const format::EntryLayout layout = format::LayoutOf(FormatOf(book));
  for (int i = format::kFirstEntryLine; i < lines; ++i) {
    try {
      book.ReadEntry(index[i], layout);
    } catch (const Exception& e) {
      throw ToolError(
          Args(Tr("pagoro-book", "%1: %2 (index line %3); the reader refuses this book"),
               {InQuotes(bookPath), e.what(), std::to_string(i + 1)}));
    }
  }
  std::cout << "format: " << Cp936ToUtf8(FormatOf(book)) << "\n"
            << "movie: " << book.MovieWidth() << "x" << book.MovieHeight() << "\n"
            << "entries: " << (lines > 2 ? lines - 2 : 0) << "\n";
  return 0;
}

// One line per entry: name, offset, the bytes stored in the container and
// the size of the file they extract to. A format 2.0 line keeps the file's
// first three bytes in the index; a size that is no number is shown as it
// stands, with "?" for the file.
int List(Env& env, const std::string& bookPath) {
  ToolHost host(env);
  Book book(env, host);
  LoadBook(env, host, book, bookPath);
  const StringList& index = *book.BookIndex();
  const format::EntryLayout layout = format::LayoutOf(FormatOf(book));
  const bool rotated = layout == format::EntryLayout::kRotated;
  std::cout << "name\toffset\tstored\tsize\n";
  for (int i = format::kFirstEntryLine; i < index.Count(); ++i) {
    const format::Entry entry = format::ReadEntryLine(index[i], layout, book.BookSize());
    std::string fileSize = "?";
    if (entry.size) {
      fileSize = std::to_string(std::int64_t{*entry.size} +
                                static_cast<std::int64_t>(rotated ? 0 : format::kHeaderLength));
    }
    std::cout << Cp936ToUtf8(entry.name) << "\t" << Cp936ToUtf8(entry.offset_text) << "\t"
              << Cp936ToUtf8(entry.size_text) << "\t" << fileSize << "\n";
  }
  return 0;
}

// The pagoro program beside this tool, or "" when there is none.
std::string DefaultReader(Env& env) {
  const std::string self = env.ProgramPath();
  if (self.empty()) return "";
  const std::string reader = self.substr(0, self.rfind('/') + 1) + "pagoro";
  return env.FileExists(reader) ? reader : "";
}

void Message(const std::string& text) { std::cerr << kPrefix << text << "\n"; }

// Names the packed files on stderr, a long list summed up after its start.
void ReportPacked(const std::vector<PackEntry>& entries, const std::string& out,
                  const std::string& reader, const PackOptions& options) {
  std::size_t shown = 0;
  for (const PackEntry& entry : entries) {
    if (shown == kPackedNamesShown && entries.size() > kPackedNamesShown + 1) break;
    const int bytes = static_cast<int>(entry.bytes.size());
    Message(Args(TrN("pagoro-book", "packed %1 (%n bytes)", nullptr, bytes), {entry.name}));
    ++shown;
  }
  if (shown < entries.size()) {
    const int more = static_cast<int>(entries.size() - shown);
    Message(Args(TrN("pagoro-book", "packed %n more files (pagoro-book list %1 names them all)",
                     nullptr, more),
                 {out}));
  }
  const std::string size = std::to_string(options.width) + "x" + std::to_string(options.height);
  const int files = static_cast<int>(entries.size());
  Message(Args(TrN("pagoro-book", "wrote %1: %n files, format %2, movie %3, %4", nullptr, files),
               {out, options.format, size,
                reader.empty() ? Tr("pagoro-book",
                                    "no reader image: the book does not start by itself "
                                    "(--reader FILE)")
                               : Args(Tr("pagoro-book", "reader %1"), {reader})}));
}

// The options of `pack`, in the order of PackOption.
constexpr OptionRule kPackOptions[] = {
    {.name = "--output", .short_name = "-o", .takes_value = true},
    {.name = "--format", .short_name = "", .takes_value = true},
    {.name = "--size", .short_name = "", .takes_value = true},
    {.name = "--reader", .short_name = "", .takes_value = true},
};
enum PackOption : std::size_t { kOutput, kFormat, kSize, kReader };

int Pack(Env& env, const ParsedArguments& args) {
  if (args.operands.size() > 1)
    throw UsageError(Tr("pagoro-book", "more than one folder to pack"), "pack");
  const std::string dir = args.operands.empty() ? std::string() : args.operands[0];
  std::string out;
  std::string reader;
  bool haveReader = false;
  PackOptions options;
  for (const ParsedArguments::Given& given : args.options) {
    const std::string& value = given.value;
    switch (given.option) {
      case kOutput: out = value; break;
      case kFormat:
        if (value != format::kVersion10 && value != format::kVersion20)
          throw UsageError(Tr("pagoro-book", "--format is 1.0 or 2.0"), "pack");
        options.format = value;
        break;
      case kSize:
        if (!ParseMovieSize(value, &options.width, &options.height))
          throw UsageError(Tr("pagoro-book", "--size is WIDTHxHEIGHT, for example 800x600"),
                           "pack");
        break;
      default:
        reader = value;
        haveReader = true;
        break;
    }
  }
  if (dir.empty()) throw UsageError(Tr("pagoro-book", "pack needs a folder"), "pack");
  if (out.empty()) throw UsageError(Tr("pagoro-book", "pack needs -o OUT"), "pack");
  if (!haveReader) reader = DefaultReader(env);

  std::vector<PackEntry> entries = ReadFolderEntries(dir, env);
  // A book made into the folder it packs is not packed into the next one.
  std::erase_if(entries,
                [&](const PackEntry& entry) { return env.SameFile(dir + "/" + entry.name, out); });
  // Without its main movie a book opens to an empty player.
  if (entries.empty() || entries.front().name != format::kMainMovie) {
    throw ToolError(Args(Tr("pagoro-book",
                            "%1 holds no %2: a magazine starts with its main movie; nothing was "
                            "written"),
                         {InQuotes(dir), format::kMainMovie}));
  }
  const std::string image = reader.empty() ? std::string() : ReadWholeFile(reader, env);
  WriteBookFile(out, PackBook(image, entries, options), env);
  ReportPacked(entries, out, reader, options);
  if (options.format == "1.0" && entries.size() > 1) {
    Message(Tr("pagoro-book",
               "warning: readers stop at the first file besides main.swf of a format 1.0 book "
               "(its entry line is read in the 2.0 layout); use format 2.0"));
  }
  return 0;
}

// The options of `reader`.
constexpr OptionRule kReaderOptions[] = {
    {.name = "--output", .short_name = "-o", .takes_value = true},
};

// What the first bytes of a program say it is.
std::string ProgramKind(const std::string& image) {
  if (image.starts_with("MZ")) return "a Windows program";
  if (image.starts_with("\x7f"
                        "ELF"))
    return "a Linux program";
  return "no program known to this tool";
}

// `reader BOOK -o OUT`: the bytes before the container. The container begins
// with the first stored bytes an entry names, or with the index text when
// no entry names any.
int Reader(Env& env, const ParsedArguments& args) {
  if (args.operands.size() != 1) {
    throw UsageError(args.operands.empty() ? "reader needs a book" : "reader takes one book",
                     "reader");
  }
  std::string out;
  for (const ParsedArguments::Given& given : args.options) out = given.value;
  if (out.empty()) throw UsageError("reader needs -o OUT", "reader");
  const std::string& bookPath = args.operands[0];
  ToolHost host(env);
  Book book(env, host);
  LoadBook(env, host, book, bookPath);
  if (env.SameFile(bookPath, out)) {
    throw ToolError(InQuotes(out) + " is the book itself; nothing was written");
  }
  const std::string bytes = ReadWholeFile(bookPath, env);
  if (bytes.size() != book.BookSize() || bytes.size() < format::kIndexLengthSize) {
    throw ToolError(InQuotes(bookPath) + " changed while it was read; nothing was written");
  }
  const auto* end = reinterpret_cast<const unsigned char*>(bytes.data()) + bytes.size();
  const std::uint64_t indexLength = format::ReadIndexLength(end);
  if (indexLength > bytes.size() - format::kIndexLengthSize) {
    throw ToolError(InQuotes(bookPath) + " changed while it was read; nothing was written");
  }
  std::uint64_t start = bytes.size() - format::kIndexLengthSize - indexLength;
  const StringList& index = *book.BookIndex();
  const format::EntryLayout layout = format::LayoutOf(FormatOf(book));
  for (int i = format::kFirstEntryLine; i < index.Count(); ++i) {
    try {
      const format::Entry entry = book.ReadEntry(index[i], layout);
      start = std::min<std::uint64_t>(start, static_cast<std::uint64_t>(*entry.offset));
    } catch (const Exception& e) {
      throw ToolError(InQuotes(bookPath) + ": " + e.what() + " (index line " +
                      std::to_string(i + 1) + "); nothing was written");
    }
  }
  if (start == 0) {
    throw ToolError(InQuotes(bookPath) +
                    " has no reader part: its container begins at its first byte; nothing "
                    "was written");
  }
  const std::string image = bytes.substr(0, start);
  WriteBookFile(out, image, env);
  Message("wrote " + out + ": " + std::to_string(image.size()) + " bytes, the reader part of " +
          bookPath + " (" + ProgramKind(image) + ")");
  return 0;
}

bool IsHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

// `help [COMMAND]`: the whole usage, or one command's.
int Help(const std::vector<std::string>& commands) {
  if (commands.size() > 1)
    throw UsageError(Tr("pagoro-book", "help takes at most one command"), "help");
  if (commands.empty()) {
    std::cout << T(kUsage);
    return 0;
  }
  const char* usage = UsageOf(commands[0]);
  if (usage == nullptr)
    throw UsageError(Args(Tr("pagoro-book", "no command %1"), {InQuotes(commands[0])}));
  std::cout << T(usage);
  return 0;
}

int Run(const std::vector<std::string>& args) {
  Env& env = Env::Default();
  if (args.empty()) throw UsageError(Tr("pagoro-book", "no command"));
  const std::string& command = args[0];
  if (IsHelp(command)) {
    std::cout << T(kUsage);
    return 0;
  }
  if (command == "--version") {
    std::cout << "pagoro-book " << PAGORO_VERSION << "\n";
    return 0;
  }
  const char* usage = UsageOf(command);
  if (usage == nullptr)
    throw UsageError(Args(Tr("pagoro-book", "unknown command %1"), {InQuotes(command)}));
  const bool pack = command == "pack";
  const bool reader = command == "reader";
  std::span<const OptionRule> rules;
  if (pack) rules = kPackOptions;
  if (reader) rules = kReaderOptions;
  const ParsedArguments parsed = ParseArguments(std::span(args).subspan(1), rules);
  if (parsed.help) {
    std::cout << T(usage);
    return 0;
  }
  if (parsed.version) {
    std::cout << "pagoro-book " << PAGORO_VERSION << "\n";
    return 0;
  }
  if (!parsed.error.empty()) throw UsageError(parsed.error, command);
  if (pack) return Pack(env, parsed);
  if (reader) return Reader(env, parsed);
  const std::vector<std::string>& operands = parsed.operands;
  if (command == "help") return Help(operands);
  const auto expect = [&](int arguments) {
    if (operands.size() != static_cast<std::size_t>(arguments))
      throw UsageError(
          Args(TrN("pagoro-book", "%1 takes %n arguments", nullptr, arguments), {command}),
          command);
  };
  if (command == "extract") {
    expect(2);
    return Extract(env, operands[0], operands[1]);
  }
  if (command == "info") {
    expect(1);
    return Info(env, operands[0]);
  }
  if (command == "list") {
    expect(1);
    return List(env, operands[0]);
  }
  throw UsageError(Args(Tr("pagoro-book", "unknown command %1"), {InQuotes(command)}));
}

}  // namespace
}  // namespace pagoro

int main(int argc, char** argv) {
  pagoro::UseUserLanguage();
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    return pagoro::Run(args);
  } catch (const pagoro::UsageError& e) {
    const char* usage = pagoro::UsageOf(e.command());
    std::cerr << pagoro::kPrefix << e.what() << "\n" << pagoro::T(usage ? usage : pagoro::kUsage);
    return pagoro::kExitUsage;
  } catch (const std::exception& e) {
    // Tool errors, packing failures and the reader's own texts for a
    // container that is there but faulty (those already name the book).
    std::cerr << pagoro::kPrefix << e.what() << "\n";
    return pagoro::kExitError;
  }
}
