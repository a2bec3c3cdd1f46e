#include "book/cp936.h"

#include <iconv.h>

#include <cerrno>
#include <utility>

namespace pagoro {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// One iconv conversion descriptor, closed when it goes.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // iconv_open reports failure as (iconv_t)-1.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `in`, appending to `out`; false (with `out` as it was)
  // when `in` holds a sequence that has no form in the target.
  bool Convert(std::string_view in, std::string* out) {
    if (!ok()) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    const std::size_t old_size = out->size();
    char* src = const_cast<char*>(in.data());
    std::size_t src_left = in.size();
    std::size_t done = old_size;
    out->resize(old_size + in.size() * 4 + 8);
    while (src_left > 0) {
      char* dst = out->data() + done;
      std::size_t dst_left = out->size() - done;
      const std::size_t r = iconv(cd_, &src, &src_left, &dst, &dst_left);
      done = out->size() - dst_left;
      if (r != static_cast<std::size_t>(-1)) break;
      if (errno != E2BIG) {
        out->resize(old_size);
        return false;
      }
      out->resize(out->size() * 2);
    }
    out->resize(done);
    return true;
  }

 private:
  iconv_t cd_;
};

}  // namespace

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

bool IsTrailByte(std::string_view text, std::size_t i) {
  if (i >= text.size()) return false;
  std::size_t p = 0;
  while (p < i) p += IsLeadByte(static_cast<unsigned char>(text[p])) ? 2 : 1;
  return p > i;
}

std::string Cp936ToUtf8(std::string_view text) {
  Converter converter("UTF-8", "CP936");
  std::string out;
  out.reserve(text.size() * 3 / 2);
  std::size_t p = 0;
  while (p < text.size()) {
    const auto byte = static_cast<unsigned char>(text[p]);
    if (byte < 0x80) {
      out += static_cast<char>(byte);
      ++p;
      continue;
    }
    // A lead byte takes the next byte with it, whatever it is, as the text
    // is cut into characters everywhere else; a pair or single byte that is
    // no character of the code page becomes one replacement character.
    const std::size_t length = IsLeadByte(byte) && p + 1 < text.size() ? 2 : 1;
    if (!converter.Convert(text.substr(p, length), &out)) out += kReplacement;
    p += length;
  }
  return out;
}

bool Utf8ToCp936(std::string_view text, std::string* out) {
  Converter converter("CP936", "UTF-8");
  std::string result;
  if (!converter.Convert(text, &result)) return false;
  *out = std::move(result);
  return true;
}

}  // namespace pagoro
