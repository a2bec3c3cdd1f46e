#include "tools/sample/movie_parts.h"

#include <utility>

#include "swf/buttons.h"
#include "swf/shapes.h"

namespace pagoro::sample {

swf::Rgba Colour(std::uint32_t rgb) {
  return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
          static_cast<std::uint8_t>(rgb), 255};
}

void Parts::Place(std::uint16_t id, std::uint16_t depth, int x, int y, const std::string& name) {
  swf::PlaceObject place;
  place.depth = depth;
  place.character_id = id;
  place.matrix = swf::Translate(x, y);
  place.name = name;
  display.push_back(swf::PlaceObject2(place));
}

// A font of the system by name: the player draws Chinese with a named font
// (falling back to the system's CJK font when it lacks this one), but none
// with the generic "_sans".
constexpr const char* kFontName = "WenQuanYi Micro Hei";

Fonts DefineFonts(IdSource& ids, Parts& parts) {
  Fonts fonts{ids.Take(), ids.Take()};
  parts.definitions.push_back(swf::DeviceFont(fonts.regular, kFontName));
  parts.definitions.push_back(swf::DeviceFont(fonts.bold, kFontName, true));
  return fonts;
}

namespace {

std::uint16_t DefineField(IdSource& ids, Parts& parts, const Fonts& fonts, const Field& f) {
  swf::EditText text;
  text.id = ids.Take();
  text.bounds = swf::PixelRect(0, 0, f.width, f.height);
  text.font_id = f.bold ? fonts.bold : fonts.regular;
  text.font_height = static_cast<std::uint16_t>(f.size);
  text.color = Colour(f.colour);
  text.variable = f.variable;
  text.initial_text = f.text;
  // Anything taller than two lines wraps.
  text.multiline = text.word_wrap = f.height >= 2 * f.size + 8;
  text.align = static_cast<std::uint8_t>(f.align);
  parts.definitions.push_back(swf::DefineEditText(text));
  return text.id;
}

}  // namespace

void AddField(IdSource& ids, Parts& parts, const Fonts& fonts, const Field& field,
              std::uint16_t depth) {
  parts.Place(DefineField(ids, parts, fonts, field), depth, field.x, field.y);
}

void AddButton(IdSource& ids, Parts& parts, const Fonts& fonts, const std::string& label, int x,
               int y, int width, int height, const ButtonLook& look, swf::Bytes actions,
               std::uint16_t depth) {
  namespace state = swf::button_state;
  const swf::Rect area = swf::PixelRect(0, 0, width, height);
  const std::uint16_t over = ids.Take();
  parts.definitions.push_back(swf::RectangleShape(over, area, Colour(look.over)));
  const std::uint16_t down = ids.Take();
  parts.definitions.push_back(swf::RectangleShape(down, area, Colour(look.down)));

  swf::Button button;
  if (look.transparent_up) {
    button.records.push_back({state::kHitTest, over, 1, {}});
  } else {
    const std::uint16_t up = ids.Take();
    parts.definitions.push_back(swf::RectangleShape(up, area, Colour(look.up)));
    button.records.push_back({static_cast<std::uint8_t>(state::kUp | state::kHitTest), up, 1, {}});
  }
  button.records.push_back({state::kOver, over, 2, {}});
  button.records.push_back({state::kDown, down, 3, {}});
  if (!label.empty()) {
    const int size = height >= 28 ? 15 : 13;
    Field f{0, 0, width, size + 8, size, look.text, false, 2, label, ""};
    const std::uint16_t text = DefineField(ids, parts, fonts, f);
    button.records.push_back({static_cast<std::uint8_t>(state::kUp | state::kOver | state::kDown),
                              text, 4, swf::Translate(0, (height - size - 8) / 2)});
  }
  button.id = ids.Take();
  button.actions.push_back({swf::button_event::kRelease, 0, std::move(actions)});
  parts.definitions.push_back(swf::DefineButton2(button));
  parts.Place(button.id, depth, x, y);
}

void PushRoot(swf::ActionBuilder& a) { a.Push("_root").GetVariable(); }

void GetRoot(swf::ActionBuilder& a, const std::string& name) {
  PushRoot(a);
  a.Push(name).GetMember();
}

void BeginSetRoot(swf::ActionBuilder& a, const std::string& name) {
  PushRoot(a);
  a.Push(name);
}

void SetRootString(swf::ActionBuilder& a, const std::string& name, const std::string& value) {
  BeginSetRoot(a, name);
  a.Push(value).SetMember();
}

void CallRoot(swf::ActionBuilder& a, const std::string& method, int argc) {
  PushRoot(a);
  a.CallMethod(method, argc).Pop();
}

void FsCommandOfValue(swf::ActionBuilder& a, const std::string& command) {
  // GetUrl2 takes the url first, then the target: swap the value below it.
  a.Do(swf::Op::kToString)
      .Push(std::string(swf::kFsCommandPrefix) + command)
      .Do(swf::Op::kStackSwap);
  a.GetUrl2(0);
}

}  // namespace pagoro::sample
