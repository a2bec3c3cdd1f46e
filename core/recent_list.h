// The shelf of recent magazines: which files the user opened lately, newest
// first, and the folder the Open dialog last showed. Bounded, and kept as a
// small text file of its own format; this is its logic without any file or
// window: ordering, bounding, reading and writing the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pagoro {

class Env;

// Where the list lives: the file kRecentListName in RecentListFolder(), the
// reader's folder below the user's state folder ("" when no home is known).
// No list of ours is larger than kRecentListBound.
inline constexpr char kRecentListName[] = "recent";
inline constexpr std::size_t kRecentListBound = std::size_t{1} << 20;
std::string RecentListFolder(Env& env);

struct RecentEntry {
  std::string path;         // the file's full path, its bytes (need not be UTF-8)
  std::int64_t opened = 0;  // when it was last opened, seconds since 1970
  std::string cover;        // the cover picture's file name beside the list; "" for none
  // What the file holds (core/magazine_identity.h), lowercase hex; "" when
  // unknown (an entry kept before identities were, or a file that could not
  // be read).
  std::string identity;

  bool operator==(const RecentEntry&) const = default;
};

class RecentList {
 public:
  static constexpr std::size_t kMaxEntries = 30;

  // Newest first.
  const std::vector<RecentEntry>& entries() const { return entries_; }
  const std::string& last_folder() const { return last_folder_; }
  void set_last_folder(std::string folder) { last_folder_ = std::move(folder); }

  // `entry` goes first, replacing the entries of the same magazine: of the
  // same identity (moved or copied, it is one magazine), and of the same
  // path (what lies there now is this one); the oldest beyond kMaxEntries
  // drop off. Returns the covers no entry names any more.
  std::vector<std::string> Add(RecentEntry entry);
  // The entry of `path`; null when it is not on the list.
  const RecentEntry* Find(const std::string& path) const;
  // Names `cover` as the cover of `path`'s entry, where it stands; false
  // when `path` is not on the list.
  bool SetCover(const std::string& path, std::string cover);
  // Removes the entry of `path`; its cover when it had one.
  std::optional<std::string> Forget(const std::string& path);

  // The file's text, and back. Parse gives nullopt for text that is not a
  // list of this format (damaged, cut short, another program's); it takes
  // at most kMaxEntries entries, in their order. Lists written before
  // identities were are read, their entries without one.
  std::string Serialise() const;
  static std::optional<RecentList> Parse(const std::string& text);

 private:
  std::vector<RecentEntry> entries_;
  std::string last_folder_;
};

// A path's bytes as text of printable ASCII without spaces: "%" and every
// byte outside "!".."~" become %XX. Decode gives nullopt for a bad escape.
std::string EncodeBytes(const std::string& bytes);
std::optional<std::string> DecodeBytes(const std::string& text);

}  // namespace pagoro
