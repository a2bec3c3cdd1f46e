#include "player/requested_file.h"

#include <charconv>
#include <system_error>
#include <vector>

#include "book/cp936.h"

namespace pagoro {
namespace {

// The folder's entry whose name decodes to `decoded_name`, as a path under
// `folder`; "" when there is none.
std::string EntryDecodingTo(const std::filesystem::path& folder, std::string_view decoded_name) {
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (PercentDecoded(name) == decoded_name) return it->path().string();
  }
  return {};
}

}  // namespace

std::string PercentDecoded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned byte = 0;
    // cppcheck-suppress invalidLifetime ; text is the caller's, alive throughout
    const char* digits = text.data() + i + 1;
    if (text[i] == '%' && i + 2 < text.size() &&
        std::from_chars(digits, digits + 2, byte, 16) ==
            std::from_chars_result{digits + 2, std::errc()}) {
      out += static_cast<char>(byte);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

ConfinedPath RequestedFile(std::string_view encoded_path,
                           std::optional<std::string_view> encoded_query,
                           const std::filesystem::path& folder, HiddenFiles hidden) {
  std::vector<std::string> candidates;
  if (encoded_query)
    candidates.push_back(PercentDecoded(encoded_path) + "?" + PercentDecoded(*encoded_query));
  candidates.push_back(PercentDecoded(encoded_path));
  // The movie was told the folder legibly: a folder whose name is no UTF-8
  // (code page 936 bytes) as its UTF-8 text, which stands for its bytes.
  std::string folder_bytes = folder.string();
  if (!folder_bytes.ends_with('/')) folder_bytes += '/';
  const std::string told = FileNameAsUtf8(folder_bytes);
  if (told != folder_bytes) {
    for (std::size_t i = 0, n = candidates.size(); i < n; ++i) {
      if (candidates[i].starts_with(told))
        candidates.push_back(folder_bytes + candidates[i].substr(told.size()));
    }
  }

  std::optional<ConfinedPath> first_refusal;
  for (const std::string& candidate : candidates) {
    ConfinedPath found = FileInsideFolder(candidate, folder, hidden);
    if (found.inside) return found;
    if (!first_refusal) first_refusal = std::move(found);
  }
  // The movie was told the folder's path as it is; the request decoded
  // decodes the folder's part too.
  std::string prefix = PercentDecoded(folder.string());
  if (prefix.empty() || prefix.back() != '/') prefix += '/';
  for (const std::string& candidate : candidates) {
    if (!candidate.starts_with(prefix)) continue;
    const std::string_view name = std::string_view(candidate).substr(prefix.size());
    if (name.empty() || name.find('/') != std::string_view::npos) continue;
    const std::string entry = EntryDecodingTo(folder, name);
    if (!entry.empty()) return FileInsideFolder(entry, folder, hidden);
  }
  return *first_refusal;
}

}  // namespace pagoro
