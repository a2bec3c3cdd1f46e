// Tags of a movie: the code list, the tag record encoding and the basic
// tags (frames, background, actions, labels, device-font text, display list).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "swf/byte_writer.h"

namespace pagoro::swf {

// Tag codes.
enum class TagCode : std::uint16_t {
  kEnd = 0,
  kShowFrame = 1,
  kDefineShape = 2,
  kPlaceObject = 4,
  kRemoveObject = 5,
  kDefineBits = 6,
  kDefineButton = 7,
  kJpegTables = 8,
  kSetBackgroundColor = 9,
  kDefineFont = 10,
  kDefineText = 11,
  kDoAction = 12,
  kDefineFontInfo = 13,
  kDefineSound = 14,
  kStartSound = 15,
  kDefineBitsLossless = 20,
  kDefineBitsJpeg2 = 21,
  kDefineShape2 = 22,
  kProtect = 24,
  kPlaceObject2 = 26,
  kRemoveObject2 = 28,
  kDefineShape3 = 32,
  kDefineButton2 = 34,
  kDefineBitsJpeg3 = 35,
  kDefineBitsLossless2 = 36,
  kDefineEditText = 37,
  kDefineSprite = 39,
  kFrameLabel = 43,
  kDefineFont2 = 48,
  kExportAssets = 56,
  kDoInitAction = 59,
  kFileAttributes = 69,
  kPlaceObject3 = 70,
  kDoAbcOld = 72,
  kDefineFont3 = 75,
  kSymbolClass = 76,
  kMetadata = 77,
  kDoAbc = 82,
};

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};
struct Rgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

// One tag: its code and its body. Encode() gives the record with its header.
struct Tag {
  TagCode code = TagCode::kEnd;
  Bytes body;
  // Some readers expect the long header on bitmap tags whatever their size.
  bool force_long_header = false;

  Bytes Encode() const;
};

// Flags of FileAttributes.
namespace file_attributes {
constexpr std::uint32_t kUseNetwork = 0x01;
constexpr std::uint32_t kActionScript3 = 0x08;
constexpr std::uint32_t kHasMetadata = 0x10;
}  // namespace file_attributes

Tag ShowFrame();
Tag End();
Tag SetBackgroundColor(Rgb color);
Tag FileAttributes(std::uint32_t flags);
// A DoAction tag around a finished action block (see ActionBuilder::Finish).
Tag DoAction(Bytes actions);
Tag FrameLabel(std::string_view label);

// A font with no glyphs, standing for a font of the system ("_sans",
// "_serif", "_typewriter" or a font name), as compilers write for device
// text.
Tag DeviceFont(std::uint16_t font_id, std::string_view name, bool bold = false,
               bool italic = false);

struct EditText {
  std::uint16_t id = 0;
  Rect bounds;                     // twips, relative to the placed position
  std::uint16_t font_id = 0;       // a DeviceFont; 0 leaves the field without font
  std::uint16_t font_height = 12;  // pixels
  Rgba color;
  std::string variable;      // variable the field shows; "" for none
  std::string initial_text;  // "" for none
  bool read_only = true;
  bool selectable = false;
  bool multiline = false;
  bool word_wrap = false;
  bool border = false;
  bool html = false;
  std::uint8_t align = 0;  // 0 left, 1 right, 2 centre, 3 justify
};
Tag DefineEditText(const EditText& text);

// A 2x3 transform: scale, rotate/skew and translate (twips).
struct Matrix {
  double scale_x = 1, scale_y = 1;
  double rotate_skew0 = 0, rotate_skew1 = 0;
  std::int32_t translate_x = 0, translate_y = 0;
};
// A matrix that only moves by whole pixels.
Matrix Translate(int x_px, int y_px);
void WriteMatrix(ByteWriter& out, const Matrix& m);

struct PlaceObject {
  std::uint16_t depth = 1;
  std::uint16_t character_id = 0;  // 0: move the character already at depth
  bool move = false;               // change the object at depth instead of adding one
  bool has_matrix = true;
  Matrix matrix;
  std::string name;    // instance name; "" for none
  Bytes clip_actions;  // encoded clip event handlers (see clip_events.h); empty for none
};
Tag PlaceObject2(const PlaceObject& place);
Tag RemoveObject2(std::uint16_t depth);

}  // namespace pagoro::swf
