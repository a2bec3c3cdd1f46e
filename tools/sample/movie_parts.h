// Pieces the sample's movies are made of: character ids, the two device
// fonts, text fields, buttons with a label, and the few ActionScript idioms
// the movies use on the main timeline (_root.name = value, _root.f(...)).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "swf/actions.h"
#include "swf/tags.h"

namespace pagoro::sample {

// Hands out the character ids of one movie, from 1.
class IdSource {
 public:
  std::uint16_t Take() { return next_++; }

 private:
  std::uint16_t next_ = 1;
};

swf::Rgba Colour(std::uint32_t rgb);

// A movie's definitions and its display list, kept apart so that a page can
// go into a movie of its own or into a sprite of the main movie.
struct Parts {
  std::vector<swf::Tag> definitions;
  std::vector<swf::Tag> display;  // PlaceObject2 tags

  void Place(std::uint16_t id, std::uint16_t depth, int x, int y, const std::string& name = "");
};

struct Fonts {
  std::uint16_t regular = 0;
  std::uint16_t bold = 0;
};
// Defines the device font all text of the sample uses, plain and bold.
Fonts DefineFonts(IdSource& ids, Parts& parts);

struct Field {
  int x = 0, y = 0, width = 0, height = 0;
  int size = 16;
  std::uint32_t colour = 0x202020;
  bool bold = false;
  int align = 0;         // 0 left, 1 right, 2 centre
  std::string text;      // what it shows at first
  std::string variable;  // the variable it shows, "" for none
};
// A read-only text field in the system's font, placed at `depth`.
void AddField(IdSource& ids, Parts& parts, const Fonts& fonts, const Field& field,
              std::uint16_t depth);

struct ButtonLook {
  std::uint32_t up = 0x3a506b;
  std::uint32_t over = 0x5bc0be;
  std::uint32_t down = 0x0b132b;
  std::uint32_t text = 0xffffff;
  bool transparent_up = false;  // nothing shown until the pointer is over it
};
// A button of `width` x `height` pixels with a centred label ("" for none)
// that runs `actions` when clicked, placed at (x, y).
void AddButton(IdSource& ids, Parts& parts, const Fonts& fonts, const std::string& label, int x,
               int y, int width, int height, const ButtonLook& look, swf::Bytes actions,
               std::uint16_t depth);

// ActionScript idioms on the main timeline.
void PushRoot(swf::ActionBuilder& a);
// Pushes _root.name.
void GetRoot(swf::ActionBuilder& a, const std::string& name);
// _root.name = <the value on the stack>: push the name's owner and name
// with BeginSetRoot, then the value, then SetMember.
void BeginSetRoot(swf::ActionBuilder& a, const std::string& name);
void SetRootString(swf::ActionBuilder& a, const std::string& name, const std::string& value);
// _root.method(args) with `argc` arguments already pushed (last first);
// the result is dropped.
void CallRoot(swf::ActionBuilder& a, const std::string& method, int argc);
// fscommand(command, <the value on the stack, as a string>).
void FsCommandOfValue(swf::ActionBuilder& a, const std::string& command);

}  // namespace pagoro::sample
