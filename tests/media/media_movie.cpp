// pagoro-media-movie OUT KIND [ARGS...]: writes a test movie for the media
// tests, at 10 frames a second on an 800x600 stage.
//   store DEFAULT ROOT [BIG]  reads the shared object "bookmark" of the
//       default path and of "/", raises fscommand("read", "<page>|<page>"),
//       stores DEFAULT and ROOT as their "page", flushes both and raises
//       fscommand("flushed", "<result>|<result>"). With BIG (bytes), then
//       stores a string of that size in "big" and raises
//       fscommand("big", "<flush result>").
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "swf/actions.h"
#include "swf/movie.h"
#include "swf/tags.h"

namespace {

using pagoro::swf::ActionBuilder;
using pagoro::swf::DoAction;
using pagoro::swf::MovieBuilder;
using pagoro::swf::ShowFrame;

// so.data.page of the variable `so`, pushed.
ActionBuilder& PushPage(ActionBuilder& a, const std::string& so) {
  return a.Push(so).GetVariable().Push("data").GetMember().Push("page").GetMember();
}

// variable = SharedObject.getLocal(name[, path]).
ActionBuilder& GetLocal(ActionBuilder& a, const std::string& variable, const std::string& name,
                        const std::string& path = "") {
  a.Push(variable);
  if (!path.empty()) a.Push(path);
  a.Push(name).Push("SharedObject").GetVariable().CallMethod("getLocal", path.empty() ? 1 : 2);
  return a.SetVariable();
}

void Store(MovieBuilder& movie, const std::vector<std::string>& args) {
  ActionBuilder a;
  GetLocal(a, "so", "bookmark");
  GetLocal(a, "root", "bookmark", "/");
  a.Push("FSCommand:read");
  PushPage(a, "so").Push("|").Add2();
  PushPage(a, "root").Add2().GetUrl2(0);
  for (const auto& [so, value] : {std::pair{"so", args[0]}, std::pair{"root", args[1]}})
    a.Push(so).GetVariable().Push("data").GetMember().Push("page").Push(value).SetMember();
  a.Push("FSCommand:flushed");
  a.Push("so").GetVariable().CallMethod("flush", 0).Push("|").Add2();
  a.Push("root").GetVariable().CallMethod("flush", 0).Add2().GetUrl2(0);
  if (args.size() > 2) {
    // "x" doubled until it has the size asked for (a power of two).
    GetLocal(a, "big", "big");
    a.Push("s").Push("x").SetVariable();
    for (std::size_t size = 1; size < std::stoul(args[2]); size *= 2)
      a.Push("s").Push("s").GetVariable().Push("s").GetVariable().Add2().SetVariable();
    a.Push("big")
        .GetVariable()
        .Push("data")
        .GetMember()
        .Push("s")
        .Push("s")
        .GetVariable()
        .SetMember();
    a.Push("FSCommand:big").Push("big").GetVariable().CallMethod("flush", 0).GetUrl2(0);
  }
  a.Stop();
  movie.Add(DoAction(a.Finish()));
  movie.Add(ShowFrame());
}

int Usage() {
  std::cerr << "usage: pagoro-media-movie OUT store DEFAULT ROOT [BIG]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string kind = argv[2];
  const std::vector<std::string> args(argv + 3, argv + argc);
  MovieBuilder movie({.version = 8, .width = 800, .height = 600, .frame_rate = 10});
  movie.Add(pagoro::swf::SetBackgroundColor({40, 40, 40}));
  if (kind == "store" && args.size() >= 2) {
    Store(movie, args);
  } else {
    return Usage();
  }
  const pagoro::swf::Bytes bytes = movie.Finish();
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return out ? 0 : 1;
}
