#include "core/recent_list.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "book/env.h"
#include "book/text.h"

namespace pagoro {

std::string RecentListFolder(Env& env) {
  const std::string state = env.UserStateFolder();
  return state.empty() ? std::string() : state + "/pagoro";
}

namespace {

// Version 1 had no identities; version 2 adds one to every entry.
constexpr std::string_view kHeaderV1 = "pagoro recent 1";
constexpr std::string_view kHeader = "pagoro recent 2";
constexpr std::size_t kMaxIdentity = 64;
constexpr std::string_view kFolderKey = "folder ";
constexpr std::string_view kEntryKey = "entry ";

// "WORD WORD ..." split on single spaces.
std::vector<std::string> Words(std::string_view line) {
  std::vector<std::string> words;
  std::size_t from = 0;
  while (from <= line.size()) {
    const std::size_t space = std::min(line.find(' ', from), line.size());
    words.emplace_back(line.substr(from, space - from));
    from = space + 1;
  }
  return words;
}

bool IsIdentity(std::string_view text) {
  return !text.empty() && text.size() <= kMaxIdentity &&
         std::all_of(text.begin(), text.end(),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

}  // namespace

std::string EncodeBytes(const std::string& bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b > ' ' && b < 0x7F && b != '%') {
      out += c;
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 0xF];
    }
  }
  return out;
}

std::optional<std::string> DecodeBytes(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = HexDigit(text[i + 1]);
    const int low = HexDigit(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

std::vector<std::string> RecentList::Add(RecentEntry entry) {
  std::vector<std::string> unused;
  std::erase_if(entries_, [&](const RecentEntry& e) {
    const bool same =
        e.path == entry.path || (!entry.identity.empty() && e.identity == entry.identity);
    if (same && !e.cover.empty() && e.cover != entry.cover) unused.push_back(e.cover);
    return same;
  });
  entries_.insert(entries_.begin(), std::move(entry));
  while (entries_.size() > kMaxEntries) {
    if (!entries_.back().cover.empty()) unused.push_back(entries_.back().cover);
    entries_.pop_back();
  }
  return unused;
}

const RecentEntry* RecentList::Find(const std::string& path) const {
  const auto it = std::find_if(entries_.begin(), entries_.end(),
                               [&](const RecentEntry& e) { return e.path == path; });
  return it == entries_.end() ? nullptr : &*it;
}

bool RecentList::SetCover(const std::string& path, std::string cover) {
  for (RecentEntry& e : entries_) {
    if (e.path != path) continue;
    e.cover = std::move(cover);
    return true;
  }
  return false;
}

std::optional<std::string> RecentList::Forget(const std::string& path) {
  const auto it = std::find_if(entries_.begin(), entries_.end(),
                               [&](const RecentEntry& e) { return e.path == path; });
  if (it == entries_.end()) return std::nullopt;
  std::optional<std::string> cover;
  if (!it->cover.empty()) cover = it->cover;
  entries_.erase(it);
  return cover;
}

std::string RecentList::Serialise() const {
  std::ostringstream out;
  out << kHeader << '\n';
  if (!last_folder_.empty()) out << kFolderKey << EncodeBytes(last_folder_) << '\n';
  for (const RecentEntry& e : entries_) {
    out << kEntryKey << e.opened << ' ' << EncodeBytes(e.path) << ' '
        << (e.cover.empty() ? "-" : EncodeBytes(e.cover)) << ' '
        << (e.identity.empty() ? "-" : e.identity) << '\n';
  }
  return out.str();
}

std::optional<RecentList> RecentList::Parse(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || (line != kHeader && line != kHeaderV1)) return std::nullopt;
  const std::size_t entryWords = line == kHeader ? 5 : 4;
  // The writer ends every line: a last line without its end was cut short.
  if (text.back() != '\n') return std::nullopt;
  RecentList list;
  while (std::getline(in, line)) {
    const std::vector<std::string> words = Words(line);
    if (words.size() == 2 && line.starts_with(kFolderKey)) {
      std::optional<std::string> folder = DecodeBytes(words[1]);
      if (!folder) return std::nullopt;
      list.last_folder_ = std::move(*folder);
      continue;
    }
    if (words.size() != entryWords || !line.starts_with(kEntryKey)) return std::nullopt;
    RecentEntry e;
    const std::string& when = words[1];
    const auto [end, error] = std::from_chars(when.data(), when.data() + when.size(), e.opened);
    if (error != std::errc() || end != when.data() + when.size()) return std::nullopt;
    std::optional<std::string> path = DecodeBytes(words[2]);
    if (!path || path->empty() || path->front() != '/') return std::nullopt;
    e.path = std::move(*path);
    if (words[3] != "-") {
      std::optional<std::string> cover = DecodeBytes(words[3]);
      // A cover is a file name beside the list, never a path.
      if (!cover || cover->empty() || cover->find('/') != std::string::npos || *cover == "." ||
          *cover == "..") {
        return std::nullopt;
      }
      e.cover = std::move(*cover);
    }
    if (entryWords == 5 && words[4] != "-") {
      if (!IsIdentity(words[4])) return std::nullopt;
      e.identity = words[4];
    }
    if (list.entries_.size() < kMaxEntries) list.entries_.push_back(std::move(e));
  }
  return list;
}

}  // namespace pagoro
