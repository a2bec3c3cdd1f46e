#include "tests/window/remote_movie.h"

#include "swf/actions.h"
#include "swf/movie.h"
#include "swf/tags.h"
#include "testing/test_movies.h"

namespace pagoro::testing {
namespace {

using swf::ActionBuilder;

// _root.remoteKeys = {onKeyDown: function () {...}}; Key.addListener(...)
// and the same for the mouse.
void AddListeners(const RemoteMovieOptions& o, ActionBuilder& a) {
  ActionBuilder onKey;
  onKey.Push(0).Push("Key").GetVariable().CallMethod("getCode", 0).StoreRegister(0).Pop();
  for (const auto& [code, call] : o.keys) {
    const auto next = onKey.NewLabel();
    onKey.PushRegister(0).Push(code).Equals2().Not().If(next);
    onKey.FsCommand(call.first, call.second);
    onKey.Bind(next);
  }
  for (const auto& [code, name] : o.loads) {
    const auto next = onKey.NewLabel();
    onKey.PushRegister(0).Push(code).Equals2().Not().If(next);
    if (name.starts_with('/') || name.find("://") != std::string::npos) {
      onKey.Push(name).LoadVariablesNum(0);
    } else {
      onKey.Push("bookFolder").GetVariable().Push(name).StringAdd().LoadVariablesNum(0);
    }
    onKey.Bind(next);
  }
  for (const auto& [code, url] : o.links) {
    const auto next = onKey.NewLabel();
    onKey.PushRegister(0).Push(code).Equals2().Not().If(next);
    onKey.GetUrl(url, "_blank");
    onKey.Bind(next);
  }
  a.Push("remoteKeys").NewObject("Object", 0).SetVariable();
  a.Push("remoteKeys").GetVariable().Push("onKeyDown").DefineFunction("", {}, onKey).SetMember();
  a.Push("remoteKeys").GetVariable().Push("Key").GetVariable().CallMethod("addListener", 1).Pop();

  ActionBuilder onMouse;
  onMouse.FsCommand("mouse", "down");
  a.Push("remoteMouse").NewObject("Object", 0).SetVariable();
  a.Push("remoteMouse")
      .GetVariable()
      .Push("onMouseDown")
      .DefineFunction("", {}, onMouse)
      .SetMember();
  a.Push("remoteMouse")
      .GetVariable()
      .Push("Mouse")
      .GetVariable()
      .CallMethod("addListener", 1)
      .Pop();
}

void AddField(swf::MovieBuilder& movie, std::uint16_t id, std::uint16_t depth, int top, int height,
              const std::string& text, const std::string& variable) {
  swf::EditText field;
  field.id = id;
  field.bounds = swf::PixelRect(0, 0, movie.options().width - 20, height);
  field.font_id = 1;
  field.font_height = 20;
  field.color = {255, 255, 255, 255};
  field.variable = variable;
  field.initial_text = text;
  field.multiline = true;
  field.word_wrap = true;
  movie.Add(swf::DefineEditText(field));
  swf::PlaceObject place;
  place.depth = depth;
  place.character_id = id;
  place.matrix = swf::Translate(10, top);
  movie.Add(swf::PlaceObject2(place));
}

// bookFolder = TempPath whenever the reader sets it, before the echo
// clears it.
swf::ActionBuilder KeepBookFolder() {
  ActionBuilder a;
  const auto skip = a.NewLabel();
  a.Push("TempPath").GetVariable().PushUndefined().Equals2().If(skip);
  a.Push("bookFolder").Push("TempPath").GetVariable().SetVariable();
  a.Bind(skip);
  return a;
}

}  // namespace

swf::Bytes RemoteMovie(const RemoteMovieOptions& o) {
  swf::MovieOptions m;
  m.version = 8;
  m.width = o.width;
  m.height = o.height;
  m.frame_rate = 30;
  m.file_attributes = o.file_attributes;
  swf::MovieBuilder movie(m);
  movie.Add(swf::SetBackgroundColor({0, 0, 160}));
  movie.Add(swf::DeviceFont(1, "_sans"));
  AddField(movie, 2, 1, 10, o.height / 2 - 20, o.text, "");
  if (!o.shown_variable.empty()) {
    AddField(movie, 3, 2, o.height / 2, o.height / 2 - 10, "", o.shown_variable);
  }

  // Frame 1: ready, the start calls, the listeners. Frames 2 and 3 watch the
  // variables, and frame 3 goes back to 2.
  ActionBuilder first;
  first.FsCommand("ready", "");
  for (const auto& [command, args] : o.start_calls) first.FsCommand(command, args);
  AddListeners(o, first);
  movie.Add(swf::DoAction(first.Finish())).Add(swf::ShowFrame());
  if (!o.loads.empty()) movie.Add(swf::DoAction(KeepBookFolder().Finish()));
  movie.Add(swf::DoAction(swf::EchoVariables(o.watched).Finish())).Add(swf::ShowFrame());
  if (!o.loads.empty()) movie.Add(swf::DoAction(KeepBookFolder().Finish()));
  ActionBuilder loop = swf::EchoVariables(o.watched);
  loop.GotoFrame(1).Play();
  movie.Add(swf::DoAction(loop.Finish())).Add(swf::ShowFrame());
  return movie.Finish();
}

}  // namespace pagoro::testing
