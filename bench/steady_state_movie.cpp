// steady_state_movie: writes the movie of the steady-state comparison, one
// that runs the same ActionScript on every frame and says when the timed
// stretch begins and ends:
//   frame 1   fscommand("ready", ""), defines the function and object used;
//   frame 2   the workload: a loop of ITERATIONS rounds of arithmetic, a
//             function call, a member store and a string join; after
//             WARMUP frames fscommand("measure", ""), after WARMUP + FRAMES
//             frames fscommand("done", the loop's sum) and stop;
//   frame 3   back to frame 2.
// The rate is 120 frames a second, so the workload, not the frame rate,
// sets the pace.
//   steady_state_movie OUT.swf [ITERATIONS [WARMUP [FRAMES]]]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/movie_file.h"
#include "swf/actions.h"
#include "swf/movie.h"
#include "swf/tags.h"

namespace {

using pagoro::swf::ActionBuilder;
using pagoro::swf::Op;

ActionBuilder Setup() {
  ActionBuilder body;  // return x * 3 % 7
  body.Push("x").GetVariable().Push(3).Do(Op::kMultiply).Push(7).Do(Op::kModulo).Return();
  ActionBuilder a;
  a.DefineFunction("f", {"x"}, body);
  a.Push("o").NewObject("Object", 0).SetVariable();
  a.Push("n").Push(0).SetVariable();
  a.FsCommand("ready", "");
  return a;
}

ActionBuilder Workload(int iterations, int warmup, int frames) {
  ActionBuilder a;
  a.Push("i").Push(0).SetVariable();
  a.Push("s").Push(0).SetVariable();
  const auto loop = a.NewLabel();
  const auto end = a.NewLabel();
  a.Bind(loop);
  a.Push("i").GetVariable().Push(iterations).Less2().Not().If(end);
  a.Push("s")
      .Push("s")
      .GetVariable()
      .Push("i")
      .GetVariable()
      .CallFunction("f", 1)
      .Add2()
      .SetVariable();
  a.Push("o").GetVariable().Push("v").Push("i").GetVariable().SetMember();
  a.Push("t").Push("k").Push("i").GetVariable().Push(10).Do(Op::kModulo).StringAdd().SetVariable();
  a.Push("i").Push("i").GetVariable().Push(1).Add2().SetVariable();
  a.Jump(loop);
  a.Bind(end);
  a.Push("n").Push("n").GetVariable().Push(1).Add2().SetVariable();
  const auto notYet = a.NewLabel();
  a.Push("n").GetVariable().Push(warmup).Equals2().Not().If(notYet);
  a.FsCommand("measure", "");
  a.Bind(notYet);
  const auto notDone = a.NewLabel();
  a.Push("n").GetVariable().Push(warmup + frames).Equals2().Not().If(notDone);
  a.Push(std::string(pagoro::swf::kFsCommandPrefix) + "done").Push("s").GetVariable().GetUrl2(0);
  a.Stop();
  a.Bind(notDone);
  return a;
}

int Number(const char* text, const char* what) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (*end != '\0' || value < 1 || value > 1000000) {
    std::fprintf(stderr, "steady_state_movie: %s wants a number from 1 to 1000000\n", what);
    std::exit(2);
  }
  return static_cast<int>(value);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 5) {
    std::fprintf(stderr, "usage: steady_state_movie OUT.swf [ITERATIONS [WARMUP [FRAMES]]]\n");
    return 2;
  }
  const int iterations = argc > 2 ? Number(argv[2], "ITERATIONS") : 2000;
  const int warmup = argc > 3 ? Number(argv[3], "WARMUP") : 30;
  const int frames = argc > 4 ? Number(argv[4], "FRAMES") : 100;

  pagoro::swf::MovieOptions options;
  options.width = 800;
  options.height = 600;
  options.frame_rate = 120;
  pagoro::swf::MovieBuilder movie(options);
  movie.Add(pagoro::swf::SetBackgroundColor({255, 255, 255}));
  movie.Add(pagoro::swf::DoAction(Setup().Finish())).Add(pagoro::swf::ShowFrame());
  movie.Add(pagoro::swf::DoAction(Workload(iterations, warmup, frames).Finish()))
      .Add(pagoro::swf::ShowFrame());
  movie.Add(pagoro::swf::DoAction(ActionBuilder().GotoFrame(1).Play().Finish()))
      .Add(pagoro::swf::ShowFrame());
  return pagoro::bench::WriteMovieFile("steady_state_movie", argv[1], movie.Finish());
}
