// pagoro-hostile-movie OUT KIND: writes a movie that floods the reader.
//   links  100 getURL("http://...") over the first 5 frames, then, 2 s
//          later, one more to ".../late" and fscommand("linksDone").
//   modes  fullscreen false/true 20 times a frame for 3 s, then "false"
//          and fscommand("floodPaused"); 2 s later the flood starts again
//          and goes on for ever.
// At 10 frames a second, on an 800x600 stage.
#include <fstream>
#include <iostream>
#include <string>

#include "swf/actions.h"
#include "swf/movie.h"
#include "swf/tags.h"

namespace {

using pagoro::swf::ActionBuilder;
using pagoro::swf::DoAction;
using pagoro::swf::MovieBuilder;
using pagoro::swf::ShowFrame;

constexpr int kFramesPerSecond = 10;

void Frame(MovieBuilder& movie, const ActionBuilder& actions) {
  movie.Add(DoAction(actions.Finish()));
  movie.Add(ShowFrame());
}

void EmptyFrames(MovieBuilder& movie, int count) {
  for (int i = 0; i < count; ++i) movie.Add(ShowFrame());
}

void Links(MovieBuilder& movie) {
  for (int frame = 0; frame < 5; ++frame) {
    ActionBuilder a;
    for (int i = 0; i < 20; ++i)
      a.GetUrl("http://example.invalid/flood/" + std::to_string(frame * 20 + i), "_blank");
    Frame(movie, a);
  }
  EmptyFrames(movie, 2 * kFramesPerSecond);
  Frame(movie, ActionBuilder()
                   .GetUrl("http://example.invalid/late", "_blank")
                   .FsCommand("linksDone", "")
                   .Stop());
}

ActionBuilder Flood() {
  ActionBuilder a;
  for (int i = 0; i < 20; ++i) a.FsCommand("fullscreen", "false").FsCommand("fullscreen", "true");
  return a;
}

void Modes(MovieBuilder& movie) {
  for (int frame = 0; frame < 3 * kFramesPerSecond; ++frame) Frame(movie, Flood());
  Frame(movie, ActionBuilder().FsCommand("fullscreen", "false").FsCommand("floodPaused", ""));
  EmptyFrames(movie, 2 * kFramesPerSecond);
  // Frame numbers count from 0: this frame is the one after the pause.
  const auto again = static_cast<std::uint16_t>(3 * kFramesPerSecond + 1 + 2 * kFramesPerSecond);
  Frame(movie, Flood());
  Frame(movie, Flood().GotoFrame(again).Play());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string kind = argc == 3 ? argv[2] : "";
  if (kind != "links" && kind != "modes") {
    std::cerr << "usage: pagoro-hostile-movie OUT links|modes\n";
    return 2;
  }
  MovieBuilder movie({.version = 8, .width = 800, .height = 600, .frame_rate = kFramesPerSecond});
  movie.Add(pagoro::swf::SetBackgroundColor({40, 40, 40}));
  if (kind == "links") {
    Links(movie);
  } else {
    Modes(movie);
  }
  const pagoro::swf::Bytes bytes = movie.Finish();
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return out ? 0 : 1;
}
