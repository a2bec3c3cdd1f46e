#include "testing/test_movies.h"

#include "swf/actions.h"
#include "swf/movie.h"

namespace pagoro::swf {

namespace {

MovieBuilder NewMovie(const TestMovieOptions& o, double frame_rate) {
  MovieOptions m;
  m.version = o.version;
  m.compressed = o.compressed;
  m.width = o.width;
  m.height = o.height;
  m.frame_rate = frame_rate;
  return MovieBuilder(m);
}

}  // namespace

ActionBuilder EchoVariables(const std::vector<std::string>& variables) {
  ActionBuilder a;
  for (const std::string& name : variables) {
    const auto next = a.NewLabel();
    a.Push(name).GetVariable().PushUndefined().Equals2().If(next);
    // fscommand("echo", name + "=" + value): url first, then the args.
    a.Push(std::string(kFsCommandPrefix) + "echo");
    a.Push(name + "=").Push(name).GetVariable().StringAdd();
    a.GetUrl2(0);
    a.Push(name).PushUndefined().SetVariable();
    a.Bind(next);
  }
  return a;
}

Bytes FsCommandMovie(const TestMovieOptions& options, const std::vector<FsCommandCall>& calls) {
  MovieBuilder movie = NewMovie(options, 12);
  movie.Add(SetBackgroundColor({255, 255, 255}));
  ActionBuilder a;
  for (const auto& [command, args] : calls) a.FsCommand(command, args);
  a.Stop();
  movie.Add(DoAction(a.Finish())).Add(ShowFrame());
  return movie.Finish();
}

Bytes EchoMovie(const TestMovieOptions& options, const std::vector<std::string>& variables) {
  // Frame 1 says ready; frames 2 and 3 watch, and frame 3 goes back to 2,
  // so the watch runs on every frame without saying ready again.
  MovieBuilder movie = NewMovie(options, 60);
  movie.Add(SetBackgroundColor({255, 255, 255}));
  movie.Add(DoAction(ActionBuilder().FsCommand("ready", "").Finish())).Add(ShowFrame());
  movie.Add(DoAction(EchoVariables(variables).Finish())).Add(ShowFrame());
  ActionBuilder watch_and_loop = EchoVariables(variables);
  watch_and_loop.GotoFrame(1).Play();
  movie.Add(DoAction(watch_and_loop.Finish())).Add(ShowFrame());
  return movie.Finish();
}

Bytes TextMovie(const TextMovieOptions& options) {
  MovieBuilder movie = NewMovie(options.movie, 12);
  constexpr std::uint16_t kFont = 1;
  constexpr std::uint16_t kField = 2;
  constexpr int kMargin = 10;
  EditText field;
  field.id = kField;
  field.bounds =
      PixelRect(0, 0, options.movie.width - 2 * kMargin, options.movie.height - 2 * kMargin);
  field.font_id = kFont;
  field.font_height = static_cast<std::uint16_t>(options.font_height);
  field.color = options.color;
  field.variable = options.variable;
  field.initial_text = options.text;
  field.multiline = true;
  field.word_wrap = true;
  PlaceObject place;
  place.depth = 1;
  place.character_id = kField;
  place.matrix = Translate(kMargin, kMargin);
  movie.Add(SetBackgroundColor(options.background))
      .Add(DeviceFont(kFont, options.font))
      .Add(DefineEditText(field))
      .Add(PlaceObject2(place));
  if (!options.marker.empty()) {
    constexpr std::uint16_t kMarker = 3;
    movie.Add(ShowFrame());
    EditText marker = field;
    marker.id = kMarker;
    marker.color = Rgba{255, 0, 0, 255};
    marker.variable.clear();
    marker.initial_text = options.marker;
    place.depth = 2;
    place.character_id = kMarker;
    movie.Add(DefineEditText(marker)).Add(PlaceObject2(place));
  }
  movie.Add(DoAction(ActionBuilder().Stop().Finish())).Add(ShowFrame());
  return movie.Finish();
}

}  // namespace pagoro::swf
