// libFuzzer target: whatever lies in the shelf's file, read as the reader
// reads it. A list that is read holds only what the reader could have
// written (bounded, full paths, covers that are plain names beside the
// list, identities in hex), and written again it reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/recent_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::optional<pagoro::RecentList> list = pagoro::RecentList::Parse(text);
  if (!list) return 0;
  if (list->entries().size() > pagoro::RecentList::kMaxEntries) std::abort();
  for (const pagoro::RecentEntry& e : list->entries()) {
    if (e.path.empty() || e.path.front() != '/') std::abort();
    if (e.cover == "." || e.cover == ".." || e.cover.find('/') != std::string::npos) std::abort();
    for (const char c : e.identity) {
      if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) std::abort();
    }
  }
  const std::optional<pagoro::RecentList> again = pagoro::RecentList::Parse(list->Serialise());
  if (!again || again->entries() != list->entries() ||
      again->last_folder() != list->last_folder()) {
    std::abort();
  }
  return 0;
}
