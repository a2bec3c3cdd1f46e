// The two ways an index line is read: cut into fields at "|", and fields
// converted to signed 32-bit integers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pagoro {

// Returns the text before the first `separator` in `line` and removes it,
// separator included, from the front of `line`. Without a separator it
// returns "" and leaves `line` whole, so a missing field reads as empty.
std::string CutField(std::string& line, std::string_view separator);

// Signed 32-bit integer from text: optional leading spaces, an optional
// "+" or "-", then decimal digits, or hexadecimal digits after "$", "x",
// "X", "0x" or "0X"; nothing may follow. A decimal value outside the 32-bit
// range fails; hexadecimal takes up to eight digits, read as 32 bits.
std::optional<std::int32_t> TryStrToInt(std::string_view text);
// The same; throws EConvertError "'text' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);

// The value of one hexadecimal digit (either case); -1 for any other byte.
int HexDigit(char c);

}  // namespace pagoro
