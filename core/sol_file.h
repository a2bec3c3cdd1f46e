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
// The player fails at a little over 3,300 (objects in objects, read by an
// ActionScript 2 movie) and fewer for ActionScript 3; the Flash plug-in's own
// writer stopped long before (see the reasoning in sol_file.cpp), and what
// movies keep (pages, settings, scores) nests a few levels.
inline constexpr std::size_t kSharedObjectDepthLimit = 256;

// Whether BYTES are a whole, well-formed shared object the player can read.
// When not, and WHY is given, says why in a short English phrase with the
// offset where the reading stopped ("nested deeper than 256 levels at byte
// 1790").
bool SharedObjectReadable(std::string_view bytes, std::string* why);

}  // namespace pagoro
