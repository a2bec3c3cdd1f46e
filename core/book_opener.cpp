#include "core/book_opener.h"

#include <algorithm>
#include <new>
#include <optional>
#include <utility>

#include "book/cp936.h"
#include "book/format.h"
#include "book/texts.h"
#include "core/magazine_identity.h"
#include "swf/movie_header.h"

namespace pagoro {

namespace {

// The stage of a movie whose header gives none.
constexpr int kDefaultStageWidth = 800;
constexpr int kDefaultStageHeight = 600;
// The head of a movie file its stage size is read from: the header and the
// compressed start of a compressed movie, with room to spare.
constexpr std::uint64_t kStageHead = std::uint64_t{64} * 1024;
// Different books of one name playing at once, each in a folder of its own.
constexpr int kMaxNamesakes = 9;

// What the opened `file` holds; "" when it can't be read (the opening
// itself says why, if it matters).
std::string IdentityOf(const MappedFile* file, FileKind kind) {
  if (file == nullptr) return {};
  return MagazineIdentity(*file, kind, nullptr).value_or("");
}

}  // namespace

BookOpener::BookOpener(Env& env, PlayerControl& player,
                       std::function<void(const std::string&)> showMessage, FolderClaims* claims)
    : env_(env),
      player_(player),
      show_message_(std::move(showMessage)),
      temp_files_(env),
      product_folder_(env),
      book_(env, *this),
      claims_(claims) {}

OpenOutcome BookOpener::OpenBook(const std::string& path, Ownership ownership) {
  if (ExtensionOf(path) != ".exe") return OpenOutcome::kIgnored;
  return OpenBookAs(path, BookNameOf(FileNameAsUtf8(FileNameOf(path))), ownership);
}

OpenOutcome BookOpener::OpenBookAs(const std::string& path, const std::string& bookName,
                                   Ownership ownership, std::unique_ptr<MappedFile> opened) {
  const std::string fileName = FileNameOf(path);
  std::string name = bookName;
  std::string folder = BookFolderPath(env_, fileName, name);
  // Before the claim, whose lock may make the folder.
  bool existed = env_.FolderExists(folder.substr(0, folder.size() - 1));
  for (int number = 2; !Claim(folder); ++number) {
    // The reader that has the folder plays this very file, or we can't
    // tell: it is called to the front. A namesake opens beside it.
    const std::string holder = claims_->HolderBook(folder);
    if (holder.empty() || holder == path || number > kMaxNamesakes) {
      claims_->CallHolder(folder);
      return OpenOutcome::kHeldElsewhere;
    }
    name = bookName + " (" + std::to_string(number) + ")";
    folder = BookFolderPath(env_, fileName, name);
    existed = env_.FolderExists(folder.substr(0, folder.size() - 1));
  }
  if (claims_ != nullptr) claims_->NameBook(folder, path);
  bool extracting = false;
  std::string identity;
  try {
    const std::unique_ptr<OpenFolder> open = product_folder_.OpenBookFolder(folder);
    if (opened)
      book_.LoadIndex(path, std::move(opened));
    else
      book_.LoadIndex(path);
    extracting = true;
    book_.ExtractAssets(folder, *open);
    if (!movie_temp_path_.empty()) temp_files_.Delete(movie_temp_path_);
    // Forget the deleted file at once: should the extraction fail, the name
    // is free for anyone to reuse, and nothing may delete it again.
    movie_temp_path_.clear();
    try {
      movie_temp_path_ = book_.ExtractMainMovie(std::string(format::kMainMovie));
    } catch (...) {
      // A movie file that could not be written whole (a full temporary
      // folder) goes at once, or it would keep the folder full.
      temp_files_.DeleteAll();
      throw;
    }
    // The player keeps the movie it plays until it takes the new one.
    identity = IdentityOf(book_.BookFile(), FileKind::kBook);
    player_.Magazine(
        {.book = bookName, .file = {}, .folder = folder, .identity = identity, .path = path});
    player_.Movie(movie_temp_path_);
  } catch (...) {
    // The playing movie keeps its folder; the files of this attempt go,
    // with a folder it made.
    if (!existed) {
      RemoveBookFolder(folder);
    } else if (extracting && folder != cache_folder_) {
      ClearFolder(folder);
    }
    if (folder != cache_folder_ && !own_folders_.contains(folder)) Release(folder);
    throw;
  }
  if (cache_folder_ != folder && !own_folders_.contains(cache_folder_)) Release(cache_folder_);
  cache_folder_ = folder;
  identity_ = std::move(identity);
  movie_stage_.reset();
  if (ownership == Ownership::kOwn) own_folders_.insert(folder);
  player_.Play();
  return OpenOutcome::kOpened;
}

OpenOutcome BookOpener::OpenFile(const std::string& path, FileKind* kindOut) {
  std::string error;
  std::unique_ptr<MappedFile> file = env_.MapReadOnly(path, &error);
  if (!file)
    throw Exception(Args(Tr("Reader", "Cannot open \"%1\": %2"), {FileNameAsUtf8(path), error}));
  const std::string fileName = FileNameOf(path);
  // Judged, and the movie copied, by reading the file, not its mapped
  // pages: a file cut short or a medium gone meanwhile is an error, not a
  // fault.
  const std::optional<Judgement> judged = JudgeFile(*file, &error);
  if (!judged) throw EBookUnreadable(FileNameAsUtf8(fileName), error);
  const FileKind kind = judged->kind;
  if (kindOut != nullptr) *kindOut = kind;
  const std::string folder = path.substr(0, path.size() - fileName.size());
  // The projector's movie whole; of a movie file, the head its stage size
  // is read from.
  const auto copyMovie = [&](std::uint64_t size) {
    std::string copy;
    try {
      copy.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
      throw EOutOfMemory();
    }
    if (!file->CopyOut(static_cast<std::size_t>(judged->movie_offset), copy.size(),
                       reinterpret_cast<unsigned char*>(copy.data()), &error)) {
      throw EBookUnreadable(FileNameAsUtf8(fileName), error);
    }
    return copy;
  };
  switch (kind) {
    case FileKind::kBook:
      // A book the user opened by name is this run's own. It is read from
      // the file judged here: its name may stand for another by now.
      return OpenBookAs(path, NameWithoutExtension(FileNameAsUtf8(fileName)), Ownership::kOwn,
                        std::move(file));
    case FileKind::kProjector: {
      const std::string copy = copyMovie(judged->movie_size);
      const Bytes copied(reinterpret_cast<const unsigned char*>(copy.data()), copy.size());
      const std::string moviePath = temp_files_.NewTempFileName();
      try {
        env_.WriteFile(moviePath, copied.data(), copied.size());
      } catch (...) {
        temp_files_.Delete(moviePath);
        throw;
      }
      PlayMovie(path, moviePath, true, folder, copied, IdentityOf(file.get(), kind));
      return OpenOutcome::kOpened;
    }
    case FileKind::kMovie: {
      const std::string head = copyMovie(std::min<std::uint64_t>(judged->movie_size, kStageHead));
      PlayMovie(path, path, false, folder,
                Bytes(reinterpret_cast<const unsigned char*>(head.data()), head.size()),
                IdentityOf(file.get(), kind));
      return OpenOutcome::kOpened;
    }
    case FileKind::kNone: break;
  }
  throw ENoMagazine(path);
}

void BookOpener::PlayMovie(const std::string& filePath, const std::string& moviePath,
                           bool temporary, const std::string& folder, Bytes head,
                           const std::string& identity) {
  try {
    player_.Magazine({.book = {},
                      .file = FileNameAsUtf8(filePath),
                      .folder = folder,
                      .identity = identity,
                      .path = filePath});
    player_.Movie(moviePath);
  } catch (...) {
    // Nothing changed: the player keeps its movie, we keep ours.
    if (temporary) temp_files_.Delete(moviePath);
    throw;
  }
  if (!movie_temp_path_.empty()) temp_files_.Delete(movie_temp_path_);
  movie_temp_path_ = temporary ? moviePath : std::string();
  if (!own_folders_.contains(cache_folder_)) Release(cache_folder_);
  cache_folder_ = folder;
  identity_ = identity;
  movie_stage_ = swf::StageSize(head).value_or(std::pair{kDefaultStageWidth, kDefaultStageHeight});
  player_.Play();
}

int BookOpener::MovieWidth() const {
  return movie_stage_ ? movie_stage_->first : book_.MovieWidth();
}
int BookOpener::MovieHeight() const {
  return movie_stage_ ? movie_stage_->second : book_.MovieHeight();
}

void BookOpener::CloseBooks(const std::string& ownFileName) {
  // A folder another running reader has open is that reader's now.
  std::set<std::string> folders;
  for (const std::string& folder : own_folders_) {
    if (Claim(folder)) folders.insert(folder);
  }
  try {
    const std::string own = BookFolderPath(env_, ownFileName);
    if (Claim(own)) {
      // Made again where missing, as at an opening, and then removed.
      product_folder_.OpenBookFolder(own);
      folders.insert(own);
    }
  } catch (...) {
    // A book name without a cache folder leaves nothing to remove.
  }
  for (const std::string& folder : folders) RemoveBookFolder(folder);
  temp_files_.DeleteAll();
  book_.ReleaseBook();
}

bool BookOpener::Claim(const std::string& folder) {
  return claims_ == nullptr || claims_->Claim(folder);
}

void BookOpener::Release(const std::string& folder) {
  if (claims_ != nullptr && !folder.empty()) claims_->Release(folder);
}

void BookOpener::RemoveBookFolder(const std::string& folder) {
  product_folder_.RemoveBookFolder(folder);
}

std::string BookOpener::NewTempFileName() { return temp_files_.NewTempFileName(); }

void BookOpener::ClearFolder(const std::string& folder) { product_folder_.ClearBookFolder(folder); }

void BookOpener::ShowMessage(const std::string& text) {
  if (show_message_) show_message_(text);
}

ENoMagazine::ENoMagazine(const std::string& path)
    : Exception(Args(Tr("Reader",
                        "\"%1\" holds no magazine: it is neither a book nor a Flash movie or "
                        "projector"),
                     {FileNameAsUtf8(path)})) {}

std::string NameWithoutExtension(const std::string& fileName) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string::npos || dot == 0) return fileName;
  return fileName.substr(0, dot);
}

std::string ExtensionOf(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return path.substr(dot);
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace pagoro
