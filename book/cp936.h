// Code page 936 (GBK), the text of a book's index: double-byte awareness
// and conversion to and from UTF-8, the encoding of Linux file names.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pagoro {

// True for a byte that starts a double-byte character (0x81 to 0xFE).
bool IsLeadByte(unsigned char byte);

// True when byte `i` of `text` is the second byte of a double-byte character
// (scanning from the start of the text).
bool IsTrailByte(std::string_view text, std::size_t i);

// Code page 936 text to UTF-8. Cut into characters as everywhere else (a
// lead byte takes the next byte with it); a character that the code page
// lacks, an invalid single byte or a lead byte at the end becomes one U+FFFD.
// ASCII bytes outside a double-byte character stay as they are.
std::string Cp936ToUtf8(std::string_view text);
// A file name as UTF-8 text, to show it and to name folders after it: as it
// is when it is valid UTF-8, otherwise read as code page 936, the bytes that
// unpacking an archive from a Chinese Windows leaves in names.
std::string FileNameAsUtf8(std::string_view name);
// UTF-8 text to code page 936; false when a character has no GBK form.
bool Utf8ToCp936(std::string_view text, std::string* out);

}  // namespace pagoro
