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

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

namespace {

// Up to eight significant hexadecimal digits, as 32 bits.
std::optional<std::uint32_t> HexMagnitude(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    const int d = HexDigit(c);
    if (d < 0 || value > 0x0FFFFFFFU) return std::nullopt;
    value = value << 4 | static_cast<std::uint32_t>(d);
  }
  return value;
}

// Decimal digits whose value fits in 32 bits; the range check is the caller's.
std::optional<std::uint32_t> DecimalMagnitude(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9' || value > 0x7FFFFFFFU / 10) return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return value;
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
  const std::string_view digits = text.substr(i);
  std::optional<std::uint32_t> value;
  if (digits.starts_with('$') || digits.starts_with('x') || digits.starts_with('X')) {
    value = HexMagnitude(digits.substr(1));
  } else if (digits.starts_with("0x") || digits.starts_with("0X")) {
    value = HexMagnitude(digits.substr(2));
  } else {
    value = DecimalMagnitude(digits);
    // Decimal text must lie in the signed range; hexadecimal is taken as bits.
    if (value && *value > (negative ? 0x80000000U : 0x7FFFFFFFU)) return std::nullopt;
  }
  if (!value) return std::nullopt;
  return static_cast<std::int32_t>(negative ? 0U - *value : *value);
}

std::int32_t StrToInt(std::string_view text) {
  const std::optional<std::int32_t> value = TryStrToInt(text);
  if (!value) throw EConvertError(text);
  return *value;
}

}  // namespace pagoro
