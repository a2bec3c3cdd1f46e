#include "core/sol_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pagoro {
namespace {

using namespace std::string_literals;

// Bytes as the player's writers lay them out.
std::string U16(std::size_t n) { return {static_cast<char>(n >> 8), static_cast<char>(n & 0xFF)}; }
std::string U32(std::uint32_t n) { return U16(n >> 16) + U16(n & 0xFFFF); }
std::string Str0(const std::string& s) { return U16(s.size()) + s; }
// An AMF0 number (pi).
std::string Num0() { return "\x00\x40\x09\x21\xFB\x54\x44\x2D\x18"s; }
// An AMF3 inline string or byte run (the low bit set) of fewer than 64 bytes.
std::string Str3(const std::string& s) {
  return std::string(1, static_cast<char>(s.size() * 2 + 1)) + s;
}

// A whole file: the header with its length, the name, the encoding, BODY.
std::string Sol(const std::string& body, std::uint32_t version = 0,
                const std::string& name = "bookmark") {
  const std::string rest = "TCSO\0\4\0\0\0\0"s + Str0(name) + U32(version) + body;
  return "\x00\xBF"s + U32(rest.size()) + rest;
}
// An AMF0 entry of the body, and an AMF3 one.
std::string Entry0(const std::string& name, const std::string& value) {
  return Str0(name) + value + '\0';
}
std::string Entry3(const std::string& name, const std::string& value) {
  return Str3(name) + value + '\0';
}

// Reads from a heap block of exactly the bytes' size, so that a read past
// them is caught by the address sanitizer.
bool Readable(const std::string& bytes, std::string* why = nullptr) {
  const auto copy = std::make_unique<char[]>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), copy.get());
  return SharedObjectReadable(std::string_view(copy.get(), bytes.size()), why);
}

// An entry of objects nested DEPTH deep, each holding the next under "a".
std::string NestedEntry0(std::size_t depth) {
  std::string value;
  value.reserve(depth * 7 + 16);
  for (std::size_t i = 0; i < depth; ++i)
    value +=
        "\x03\x00\x01"
        "a"s;
  value += "\x05";
  for (std::size_t i = 0; i < depth; ++i) value += "\x00\x00\x09"s;
  return Entry0("deep", value);
}
std::string NestedObjects0(std::size_t depth) { return Sol(NestedEntry0(depth)); }

std::string Join(const std::vector<std::string>& entries) {
  std::string body;
  for (const std::string& e : entries) body += e;
  return body;
}

// A bookmark object as an ActionScript 2 movie keeps it: every kind of value.
std::vector<std::string> Amf0Everything() {
  std::string page = "\x03"s;                                                     // an object
  page += Str0("title") + "\x02" + Str0("Spring issue");                          // a string
  page += Str0("page") + Num0();                                                  // a number
  page += Str0("sound") + "\x01\x01";                                             // a boolean
  page += Str0("none") + "\x05" + Str0("gone") + "\x06";                          // null, undefined
  page += Str0("when") + "\x0B" + std::string(8, '\x42') + U16(0xFFC4);           // a date
  page += Str0("notes") + "\x0C" + U32(3) + "abc";                                // a long string
  page += Str0("doc") + "\x0F" + U32(4) + "<a/>";                                 // XML
  page += Str0("seen") + "\x0A" + U32(3) + Num0() + "\x02" + Str0("x") + "\x05";  // an array
  page += Str0("map") + "\x08" + U32(1) + Str0("0") + Num0() + "\x00\x00\x09"s;   // ECMA array
  page += Str0("self") + "\x07" + U16(0);                                         // a reference
  page += Str0("fn") + "\x0D";  // what could not be kept
  page += Str0("pt") + "\x10" + Str0("flash.geom.Point") + Str0("x") + Num0() + "\x00\x00\x09"s;
  page += Str0("as3") + "\x11" + "\x04\x7F";  // an AMF3 value inside
  page += "\x00\x00\x09"s;
  return {Entry0("page", page), Entry0("count", Num0()), Entry0("", "\x02"s + Str0(""))};
}

// The same for ActionScript 3 (AMF3), with its references to earlier
// strings, objects and classes.
std::vector<std::string> Amf3Everything() {
  std::vector<std::string> body;
  body.push_back(Entry3("int", "\x04\xFF\xFF\xFF\xFF"s));  // a 4-byte integer
  body.push_back(Entry3("number", "\x05" + std::string(8, '\x40')));
  body.push_back(Entry3("flags", "\x09\x07\x01\x02\x03\x00"s));  // [false, true, undefined]
  body.push_back(Entry3("title", "\x06" + Str3("Spring")));
  body.push_back(Entry3("again", "\x06\x00"s));  // "int", by reference
  body.push_back(
      Entry3("assoc", "\x09\x03"s + Str3("k") + "\x04\x01" + "\x01" + "\x01"));  // {k:1}, [null]
  // An anonymous dynamic object {p: {}} and a sealed one of class Point.
  body.push_back(Entry3("dyn", "\x0A\x0B\x01"s + Str3("p") + "\x0A\x01" + "\x01" + "\x01"));
  body.push_back(
      Entry3("pt", "\x0A\x23"s + Str3("Point") + Str3("x") + Str3("y") + "\x04\x01\x04\x02"));
  body.push_back(Entry3("pt2", "\x0A\x05\x04\x03\x04\x04"s));  // by class reference
  body.push_back(Entry3("same", "\x0A\x02"s));                 // an object by reference
  body.push_back(Entry3("date", "\x08\x01" + std::string(8, '\x42')));
  body.push_back(Entry3("date2", "\x08\x02"s));
  body.push_back(Entry3("xml", "\x0B"s + Str3("<a/>")));
  body.push_back(Entry3("xmldoc", "\x07"s + Str3("<b/>")));
  body.push_back(Entry3("bytes", "\x0C\x07\x01\x02\x03"s));
  body.push_back(Entry3("ints", "\x0D\x05\x00"s + U32(1) + U32(2)));
  body.push_back(Entry3("uints", "\x0E\x03\x01"s + U32(7)));
  body.push_back(Entry3("doubles", "\x0F\x03\x00"s + std::string(8, '\x3F')));
  body.push_back(Entry3("objs", "\x10\x05\x00"s + Str3("Point") + "\x01\x06\x00"s));
  // A Flex collection: the array it wraps, [1].
  body.push_back(Entry3(
      "list", "\x0A\x07"s + Str3("flex.messaging.io.ArrayCollection") + "\x09\x03\x01\x04\x01"));
  body.push_back(Entry3("dict", "\x11\x03\x00"s + "\x06" + Str3("key") + "\x04\x05"));
  return body;
}

TEST(SharedObjectReadableTest, ObjectsTheMoviesWritePass) {
  std::string why;
  EXPECT_TRUE(Readable(Sol(Join(Amf0Everything())), &why)) << why;
  EXPECT_TRUE(Readable(Sol(Join(Amf3Everything()), 3), &why)) << why;
  // A named object with nothing in it, in each encoding.
  EXPECT_TRUE(Readable(Sol("", 0, "")));
  EXPECT_TRUE(Readable(Sol("", 3)));
  // Non-ASCII names and text are bytes like any other.
  EXPECT_TRUE(Readable(
      Sol(Entry0("\xE4\xB9\xA6\xE7\xAD\xBE", "\x02" + Str0("\xE7\xAC\xAC")), 0, "\xE4\xB9\xA6")));
  // Nesting up to the bound, in objects, arrays and AMF3 arrays.
  EXPECT_TRUE(Readable(NestedObjects0(kSharedObjectDepthLimit), &why)) << why;
  std::string arrays;
  for (std::size_t i = 0; i < kSharedObjectDepthLimit; ++i) arrays += "\x0A" + U32(1);
  EXPECT_TRUE(Readable(Sol(Entry0("a", arrays + "\x06")), &why)) << why;
  std::string arrays3;
  for (std::size_t i = 0; i < kSharedObjectDepthLimit; ++i) arrays3 += "\x09\x03\x01";
  EXPECT_TRUE(Readable(Sol(Entry3("a", arrays3 + "\x01"), 3), &why)) << why;
}

TEST(SharedObjectReadableTest, NestingDeeperThanTheBoundFails) {
  std::string why;
  EXPECT_FALSE(Readable(NestedObjects0(kSharedObjectDepthLimit + 1), &why));
  EXPECT_NE(why.find("nested deeper than " + std::to_string(kSharedObjectDepthLimit)),
            std::string::npos)
      << why;
  // The hand-made object that overflowed the player's stack: no harm here.
  why.clear();
  EXPECT_FALSE(Readable(NestedObjects0(100000), &why));
  EXPECT_NE(why.find("nested deeper"), std::string::npos) << why;
  // Each kind of container counts: AMF3 arrays, objects, vectors and
  // dictionaries, and AMF0 arrays holding AMF3 ones.
  for (const std::string& level :
       {"\x09\x03\x01"s, "\x0A\x0B\x01\x03p"s, "\x10\x03\x00\x01"s, "\x11\x03\x00\x01"s}) {
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += level;
    why.clear();
    EXPECT_FALSE(Readable(Sol(Entry3("a", deep), 3), &why));
    EXPECT_NE(why.find("nested deeper"), std::string::npos) << why;
  }
  std::string mixed;
  for (std::size_t i = 0; i <= kSharedObjectDepthLimit / 2; ++i) mixed += "\x0A" + U32(1);
  mixed += "\x11";
  for (std::size_t i = 0; i <= kSharedObjectDepthLimit / 2; ++i) mixed += "\x09\x03\x01";
  EXPECT_FALSE(Readable(Sol(Entry0("a", mixed + "\x01")), &why));
  EXPECT_NE(why.find("nested deeper"), std::string::npos) << why;
}

TEST(SharedObjectReadableTest, EveryCutShortObjectFails) {
  // Cut anywhere but between two entries, with a header that fits.
  const std::vector<std::string> nested = {NestedEntry0(20)};
  for (const auto& [entries, version] :
       {std::pair{Amf0Everything(), 0u}, std::pair{Amf3Everything(), 3u}, std::pair{nested, 0u}}) {
    const std::string body = Join(entries);
    std::vector<bool> between(body.size() + 1, false);
    std::size_t at = 0;
    for (const std::string& e : entries) between[at += e.size()] = true;
    for (std::size_t n = 1; n < body.size(); ++n) {
      if (between[n]) continue;
      std::string why;
      EXPECT_FALSE(Readable(Sol(body.substr(0, n), version), &why)) << version << " " << n;
      EXPECT_NE(why.find("at byte"), std::string::npos) << why;
    }
    // And the whole file cut short, its header unchanged.
    const std::string whole = Sol(body, version);
    for (std::size_t n = 0; n < whole.size(); ++n) EXPECT_FALSE(Readable(whole.substr(0, n)));
  }
}

TEST(SharedObjectReadableTest, DamageAndGarbageFailWithAReason) {
  const std::string good = Sol(Entry0("page", Num0()));
  ASSERT_TRUE(Readable(good));
  struct Case {
    std::string bytes;
    std::string reason;
  };
  std::string long_by_one = good;
  long_by_one[5] = static_cast<char>(long_by_one[5] + 1);
  std::string wrong_tag = good;
  wrong_tag[6] = 'X';
  const Case cases[] = {
      {"", "no 00 BF header"},
      {"just text, not an object", "no 00 BF header"},
      {"\x00\xBF\x00"s, "no length"},
      {long_by_one, "the header gives"},
      {good + "\x00"s, "the header gives"},
      {wrong_tag, "no TCSO signature"},
      {Sol("", 2), "neither AMF0 nor AMF3"},
      {Sol(Str0("page") + Num0()), "ends inside"},  // no zero byte after the entry
      {Sol(Str0("page") + Num0() + "\x01"), "no zero byte"},
      {Sol(Entry0("a", "\x04")), "unknown AMF0 value type 4"},  // a movie clip
      {Sol(Entry0("a", "\x0E")), "unknown AMF0 value type 14"},
      {Sol(Entry0("a", "\x09")), "unknown AMF0 value type 9"},
      {Sol(Entry0("a", "\x12")), "unknown AMF0 value type 18"},
      {Sol(Entry3("a", "\x12"), 3), "unknown AMF3 value type 18"},
      // Counts far beyond the bytes: read no further than they go.
      {Sol(Entry0("a", "\x0A\xFF\xFF\xFF\xFF" + Num0())), "ends inside"},
      {Sol(Entry0("a",
                  "\x0C\xFF\xFF\xFF\xFF"
                  "abc")),
       "ends inside"},
      {Sol(Entry3("a", "\x0F\xFF\xFF\xFF\xFF\x00"s), 3), "ends inside"},
      {Sol(Entry3("a", "\x11\xFF\xFF\xFF\xFF\x00"s), 3), "ends inside"},
      {Sol(Entry3("a", "\x06\xFF\xFF\xFF\xFF"s), 3), "ends inside"},
      // A class referred to before any is defined; one only its code reads.
      {Sol(Entry3("a", "\x0A\x05"s), 3), "an undefined class"},
      {Sol(Entry3("a", "\x0A\x07"s + Str3("com.example.Save") + "\x09\x01\x01"), 3),
       "externalizable"},
      {Sol(Entry3("a", "\x06\x02"s), 3), "an undefined string"},  // "a" is string 0
      {Sol(Entry3("a", "\x09\x02"s), 3), "an undefined object"},
      {Sol(Entry3("a", "\x0A\x00"s), 3), "an undefined object"},
  };
  for (const Case& c : cases) {
    std::string why;
    EXPECT_FALSE(Readable(c.bytes, &why)) << c.reason;
    EXPECT_NE(why.find(c.reason), std::string::npos) << why;
  }
  // WHY may be left out.
  EXPECT_FALSE(SharedObjectReadable("garbage", nullptr));
}

}  // namespace
}  // namespace pagoro
