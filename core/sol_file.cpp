#include "core/sol_file.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pagoro {
namespace {

// The fixed part of the header after the length: the signature and the
// six bytes every writer puts after it.
constexpr std::string_view kSignature("TCSO\0\4\0\0\0\0", 10);

// AMF0's value markers.
enum : std::uint8_t {
  kNumber0 = 0x00,
  kBoolean0 = 0x01,
  kString0 = 0x02,
  kObject0 = 0x03,
  kNull0 = 0x05,
  kUndefined0 = 0x06,
  kReference0 = 0x07,
  kEcmaArray0 = 0x08,
  kStrictArray0 = 0x0A,
  kDate0 = 0x0B,
  kLongString0 = 0x0C,
  kUnsupported0 = 0x0D,  // written for what could not be kept; no bytes follow
  kXml0 = 0x0F,
  kTypedObject0 = 0x10,
  kSwitchTo3 = 0x11,  // one AMF3 value follows
  kObjectEnd0 = 0x09,
};

// AMF3's value markers.
enum : std::uint8_t {
  kUndefined3 = 0x00,
  kNull3 = 0x01,
  kFalse3 = 0x02,
  kTrue3 = 0x03,
  kInteger3 = 0x04,
  kDouble3 = 0x05,
  kString3 = 0x06,
  kXmlDocument3 = 0x07,
  kDate3 = 0x08,
  kArray3 = 0x09,
  kObject3 = 0x0A,
  kXml3 = 0x0B,
  kByteArray3 = 0x0C,
  kVectorInt3 = 0x0D,
  kVectorUint3 = 0x0E,
  kVectorDouble3 = 0x0F,
  kVectorObject3 = 0x10,
  kDictionary3 = 0x11,
};

// What is being read: the body, or an object or array open in it.
enum class Open {
  kBody0,    // AMF0 entries: name, value, a zero byte
  kBody3,    // AMF3 entries, the same
  kFields0,  // an AMF0 object's or ECMA array's name/value pairs up to the end marker
  kItems0,   // `left` AMF0 values (a strict array)
  kAssoc3,   // an AMF3 array's named part, then `left` values
  kItems3,   // `left` AMF3 values (an array's dense part, a vector, a dictionary's pairs)
  kObject3,  // `left` sealed AMF3 values, then named ones up to "" when `dynamic`
};

struct Frame {
  Open open;
  std::uint64_t left = 0;
  bool dynamic = false;
  bool padded = false;  // a body's entry is read: its zero byte comes next
};

// An AMF3 class as defined once in the bytes and referred to by index later.
struct Traits {
  std::string_view name;
  std::uint32_t sealed;
  bool dynamic;
  bool external;
};

// The externalizable classes whose bytes are known: Flex's collections
// write the one value they wrap.
bool WrapsOneValue(std::string_view class_name) {
  return class_name == "flex.messaging.io.ArrayCollection" ||
         class_name == "flex.messaging.io.ArrayList" ||
         class_name == "flex.messaging.io.ObjectProxy";
}

class SolReader {
 public:
  explicit SolReader(std::string_view bytes) : bytes_(bytes) {}

  bool Read() {
    if (!Header()) return false;
    while (!stack_.empty()) {
      if (!Step()) return false;
    }
    return true;
  }

  const std::string& why() const { return why_; }

 private:
  bool Fail(std::string what) {
    why_ = std::move(what) + " at byte " + std::to_string(pos_);
    return false;
  }
  bool Truncated() { return Fail("ends inside a value"); }

  std::size_t Left() const { return bytes_.size() - pos_; }

  bool Skip(std::uint64_t n) {
    if (n > Left()) return Truncated();
    pos_ += static_cast<std::size_t>(n);
    return true;
  }
  bool Byte(std::uint8_t* b) {
    if (Left() < 1) return Truncated();
    *b = static_cast<std::uint8_t>(bytes_[pos_++]);
    return true;
  }
  bool BigEndian(std::size_t n, std::uint32_t* v) {
    if (Left() < n) return Truncated();
    *v = 0;
    for (std::size_t i = 0; i < n; ++i) *v = (*v << 8) | static_cast<std::uint8_t>(bytes_[pos_++]);
    return true;
  }
  // AMF3's variable-length 29-bit integer.
  bool U29(std::uint32_t* v) {
    *v = 0;
    for (int i = 0; i < 4; ++i) {
      std::uint8_t b = 0;
      if (!Byte(&b)) return false;
      if (i == 3) {
        *v = (*v << 8) | b;
        return true;
      }
      *v = (*v << 7) | (b & 0x7F);
      if ((b & 0x80) == 0) return true;
    }
    return true;
  }

  bool String0() {
    std::uint32_t n = 0;
    return BigEndian(2, &n) && Skip(n);
  }
  bool LongString0() {
    std::uint32_t n = 0;
    return BigEndian(4, &n) && Skip(n);
  }
  // An AMF3 string: its bytes, or a reference to an earlier one (the empty
  // string is never referred to). TEXT, when given, receives it.
  bool String3(std::string_view* text = nullptr) {
    std::uint32_t v = 0;
    if (!U29(&v)) return false;
    std::string_view found;
    if ((v & 1) == 0) {
      if (v >> 1 >= strings_.size()) return Fail("a reference to an undefined string");
      found = strings_[v >> 1];
    } else {
      const std::size_t start = pos_;
      if (!Skip(v >> 1)) return false;
      found = bytes_.substr(start, v >> 1);
      if (!found.empty()) strings_.push_back(found);
    }
    if (text != nullptr) *text = found;
    return true;
  }
  // Whether an AMF3 string is the empty one that ends a list of names.
  bool Name3(bool* empty) {
    std::string_view text;
    if (!String3(&text)) return false;
    *empty = text.empty();
    return true;
  }
  // The head of an AMF3 object, array or other value kept by reference: a
  // reference to an earlier one (INLINE false), or its size.
  bool Counted3(bool* is_inline, std::uint32_t* size) {
    std::uint32_t v = 0;
    if (!U29(&v)) return false;
    *is_inline = (v & 1) != 0;
    *size = v >> 1;
    if (!*is_inline && *size >= objects_) return Fail("a reference to an undefined object");
    if (*is_inline) ++objects_;
    return true;
  }

  bool Header() {
    if (bytes_.size() < 2 || bytes_[0] != '\0' || static_cast<std::uint8_t>(bytes_[1]) != 0xBF)
      return Fail("not a shared object (no 00 BF header)");
    pos_ = 2;
    std::uint32_t length = 0;
    if (!BigEndian(4, &length)) return Fail("not a shared object (no length)");
    if (length != Left())
      return Fail("the header gives " + std::to_string(length) + " bytes after it, the file has " +
                  std::to_string(Left()));
    if (bytes_.substr(pos_, kSignature.size()) != kSignature)
      return Fail("not a shared object (no TCSO signature)");
    pos_ += kSignature.size();
    if (!String0()) return Fail("the object's name goes past the end");
    std::uint32_t version = 0;
    if (!BigEndian(4, &version)) return Fail("no encoding after the name");
    if (version != 0 && version != 3)
      return Fail("an encoding of " + std::to_string(version) + ", neither AMF0 nor AMF3");
    stack_.push_back({version == 0 ? Open::kBody0 : Open::kBody3});
    return true;
  }

  bool Push(Frame frame) {
    // The body is not a level: the depth is how many objects are open.
    if (stack_.size() > kSharedObjectDepthLimit)
      return Fail("nested deeper than " + std::to_string(kSharedObjectDepthLimit) + " levels");
    stack_.push_back(frame);
    return true;
  }

  // One step in the innermost open object: a value, a name, or its end.
  bool Step() {
    Frame& top = stack_.back();
    switch (top.open) {
      case Open::kBody0:
      case Open::kBody3: {
        if (top.padded) {
          std::uint8_t pad = 0;
          if (!Byte(&pad)) return false;
          if (pad != 0) return Fail("no zero byte after an entry");
          top.padded = false;
        }
        if (Left() == 0) {
          stack_.pop_back();
          return true;
        }
        top.padded = true;
        if (top.open == Open::kBody0) return String0() && Value0();
        return String3() && Value3();
      }
      case Open::kFields0: {
        if (!String0()) return false;
        if (Left() > 0 && static_cast<std::uint8_t>(bytes_[pos_]) == kObjectEnd0) {
          ++pos_;
          stack_.pop_back();
          return true;
        }
        return Value0();
      }
      case Open::kItems0:
      case Open::kItems3:
        if (top.left == 0) {
          stack_.pop_back();
          return true;
        }
        --top.left;
        return top.open == Open::kItems0 ? Value0() : Value3();
      case Open::kAssoc3: {
        bool empty = false;
        if (!Name3(&empty)) return false;
        if (empty) {
          top.open = Open::kItems3;
          return true;
        }
        return Value3();
      }
      case Open::kObject3: {
        if (top.left > 0) {
          --top.left;
          return Value3();
        }
        if (!top.dynamic) {
          stack_.pop_back();
          return true;
        }
        bool empty = false;
        if (!Name3(&empty)) return false;
        if (empty) {
          stack_.pop_back();
          return true;
        }
        return Value3();
      }
    }
    return Fail("lost its place");
  }

  // An AMF0 value: read whole, or its object opened.
  bool Value0() {
    const std::size_t at = pos_;
    std::uint8_t marker = 0;
    if (!Byte(&marker)) return false;
    std::uint32_t n = 0;
    switch (marker) {
      case kNumber0: return Skip(8);
      case kBoolean0: return Skip(1);
      case kString0: return String0();
      case kNull0:
      case kUndefined0:
      case kUnsupported0: return true;
      case kReference0: return Skip(2);
      case kDate0: return Skip(10);
      case kLongString0:
      case kXml0: return LongString0();
      case kObject0: return Push({Open::kFields0});
      case kEcmaArray0: return Skip(4) && Push({Open::kFields0});
      case kTypedObject0: return String0() && Push({Open::kFields0});
      case kStrictArray0: return BigEndian(4, &n) && Push({Open::kItems0, n});
      case kSwitchTo3: return Value3();
      default: pos_ = at; return Fail("an unknown AMF0 value type " + std::to_string(marker));
    }
  }

  // An AMF3 value, the same.
  bool Value3() {
    const std::size_t at = pos_;
    std::uint8_t marker = 0;
    if (!Byte(&marker)) return false;
    std::uint32_t v = 0;
    bool is_inline = false;
    switch (marker) {
      case kUndefined3:
      case kNull3:
      case kFalse3:
      case kTrue3: return true;
      case kInteger3: return U29(&v);
      case kDouble3: return Skip(8);
      case kString3: return String3();
      case kObject3: return Object3();
      default: break;
    }
    if (marker > kDictionary3) {
      pos_ = at;
      return Fail("an unknown AMF3 value type " + std::to_string(marker));
    }
    // The rest are kept by reference: after a reference, nothing follows.
    if (!Counted3(&is_inline, &v)) return false;
    if (!is_inline) return true;
    switch (marker) {
      case kXmlDocument3:
      case kXml3:
      case kByteArray3: return Skip(v);
      case kDate3: return Skip(8);
      case kVectorInt3:
      case kVectorUint3: return Skip(1 + std::uint64_t{v} * 4);
      case kVectorDouble3: return Skip(1 + std::uint64_t{v} * 8);
      case kArray3: return Push({Open::kAssoc3, v});
      case kVectorObject3: return Skip(1) && String3() && Push({Open::kItems3, v});
      default: return Skip(1) && Push({Open::kItems3, std::uint64_t{v} * 2});  // a dictionary
    }
  }

  // An AMF3 object: a reference, or its class (defined here or referred to)
  // and its values.
  bool Object3() {
    std::uint32_t v = 0;
    bool is_inline = false;
    if (!Counted3(&is_inline, &v)) return false;
    if (!is_inline) return true;
    Traits traits{};
    if ((v & 1) == 0) {
      const std::uint32_t index = v >> 1;
      if (index >= traits_.size()) return Fail("a reference to an undefined class");
      traits = traits_[index];
    } else {
      traits = {.name = {}, .sealed = v >> 3, .dynamic = (v & 4) != 0, .external = (v & 2) != 0};
      if (!String3(&traits.name)) return false;
      for (std::uint32_t i = 0; i < traits.sealed; ++i)
        if (!String3()) return false;
      traits_.push_back(traits);
    }
    if (traits.external) {
      // Any other externalizable class writes bytes only its own code reads.
      if (!WrapsOneValue(traits.name)) return Fail("an object of an externalizable class");
      return Push({Open::kItems3, 1});
    }
    return Push({Open::kObject3, traits.sealed, traits.dynamic});
  }

  std::string_view bytes_;
  std::size_t pos_ = 0;
  std::vector<Frame> stack_;
  // What AMF3 references may refer to: the strings, the classes and the
  // number of objects read so far.
  std::vector<std::string_view> strings_;
  std::vector<Traits> traits_;
  std::uint64_t objects_ = 0;
  std::string why_;
};

}  // namespace

bool SharedObjectReadable(std::string_view bytes, std::string* why) {
  SolReader reader(bytes);
  if (reader.Read()) return true;
  if (why != nullptr) *why = reader.why();
  return false;
}

}  // namespace pagoro
