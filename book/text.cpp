#include "book/text.h"

#include "book/errors.h"

namespace pagoro {

std::string CutField(std::string& line, std::string_view separator) {
  const std::size_t at = line.find(separator);
  if (at == std::string::npos) return {};
  std::string field = line.substr(0, at);
  line.erase(0, at + separator.size());
  return field;
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::int32_t> TryStrToInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::string_view digits = text.substr(i);
  bool hex = false;
  if (digits.starts_with('$') || digits.starts_with('x') || digits.starts_with('X')) {
    hex = true;
    digits.remove_prefix(1);
  } else if (digits.starts_with("0x") || digits.starts_with("0X")) {
    hex = true;
    digits.remove_prefix(2);
  }
  if (digits.empty()) return std::nullopt;

  // The magnitude is gathered in 32 unsigned bits, as the value is stored.
  std::uint32_t value = 0;
  if (hex) {
    for (char c : digits) {
      const int d = HexDigit(c);
      if (d < 0 || value > 0x0FFFFFFFu) return std::nullopt;
      value = value << 4 | static_cast<std::uint32_t>(d);
    }
  } else {
    for (char c : digits) {
      if (c < '0' || c > '9') return std::nullopt;
      if (value > 0x7FFFFFFFu / 10) return std::nullopt;
      value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (value > (negative ? 0x80000000u : 0x7FFFFFFFu)) return std::nullopt;
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

std::int32_t StrToInt(std::string_view text) {
  const std::optional<std::int32_t> value = TryStrToInt(text);
  if (!value) throw EConvertError(text);
  return *value;
}

}  // namespace pagoro
