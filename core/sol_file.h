// Reading a shared object's file (Flash's .sol) before the player gets it:
// the header (00 BF, the length of the rest, "TCSO", the object's name, the
// encoding) and every value of the body, AMF0 or AMF3, checked to lie within
// the bytes and to nest no deeper than the player can read. The player reads
// nested values by recursion: a hand-made object nested a hundred thousand
// deep overflows its stack, and the movie never returns from getLocal.
//
// The reader itself keeps its open objects and arrays on a stack of its own
// (at most kSharedObjectDepthLimit), never on the call stack, and reads
// nothing outside the bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pagoro {

// How many objects and arrays a stored object may hold one inside another.
// The player reads them by recursion on a stack of fixed size, shared with
// whatever the movie is doing when it calls getLocal: measured in the page,
// every kind of value read 1,550 deep, and the first failures came between
// 1,640 and 2,300 (ECMA arrays and objects read by an ActionScript 2 movie
// first; ActionScript 3 and AMF3 values reach further). Real movies' objects
// (game saves, settings, bookmarks) nest at most about ten deep, so a bound
// of 256 keeps well clear of both.
inline constexpr std::size_t kSharedObjectDepthLimit = 256;

// Whether BYTES are a whole, well-formed shared object the player can read.
// When not, and WHY is given, says why in a short English phrase with the
// offset where the reading stopped ("nested deeper than 256 levels at byte
// 1790").
bool SharedObjectReadable(std::string_view bytes, std::string* why);

}  // namespace pagoro
