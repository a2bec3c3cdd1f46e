// pagoro-media-movie OUT KIND [ARGS...]: writes a test movie for the media
// tests, at 10 frames a second on an 800x600 stage.
//   store DEFAULT ROOT [BIG]  reads the shared object "bookmark" of the
//       default path and of "/", raises fscommand("read", "<page>|<page>"),
//       stores DEFAULT and ROOT as their "page", flushes both and raises
//       fscommand("flushed", "<result>|<result>"). With BIG (bytes), then
//       stores a string of that size in "big" and raises
//       fscommand("big", "<flush result>").
//   netstore DEFAULT ROOT [BIG]  the same, published with the use-network
//       flag (a movie opened as a file then may use the network, no file).
//   presses  raises fscommand("ready"); on each mouse press stores the
//       press's number as the default path's "bookmark" page, flushes it and
//       raises fscommand("flush", "<result>|<number>").
//   keep VALUE [quit]  raises fscommand("read", <page>) with the default
//       path's "bookmark" page, stores VALUE as its page without flushing it
//       and raises fscommand("kept"); with "quit", raises fscommand("quit")
//       two frames (0.2 s) later.
//   screen  raises fscommand("screen", "<screenResolutionX>x<screenResolutionY>")
//       as System.capabilities gives them, on its first frame and on each
//       mouse press.
//   video FLV  asks for TempPath, then plays TempPath + FLV through a
//       NetStream in a 320x240 Video object in the middle of the stage;
//       raises fscommand("status", code) for each NetStream status.
//   tone  an event sound of 440 Hz for 2 s (22050 Hz, 16-bit PCM), then a
//       timeline stream sound of 1000 Hz for 2 s; fscommand("toneStart")
//       as it starts, fscommand("toneDone") after both.
//   later  nothing sounds until the mouse goes down (fscommand("ready")
//       first); then the event sound of 440 Hz for 2 s, with
//       fscommand("sounding") as it starts and fscommand("laterDone") after.
//   mail  getURL("mailto:timer@example.invalid") and one to
//       "gopher://example.invalid/" from its first frame, no user near;
//       on each mouse press getURL("mailto:press@example.invalid?subject=Hi"),
//       the gopher one again and fscommand("mouse", "down").
#include <cmath>
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
using pagoro::swf::Tag;
using pagoro::swf::TagCode;

constexpr int kFramesPerSecond = 10;

// Has `press` run on every mouse press: a listener object of Mouse, kept
// in the variable "listener".
void OnMouseDown(ActionBuilder& a, const ActionBuilder& press) {
  a.Push("listener").NewObject("Object", 0).SetVariable();
  a.Push("listener").GetVariable().Push("onMouseDown");
  a.DefineFunction("", {}, press).SetMember();
  a.Push("listener").GetVariable().Push("Mouse").GetVariable().CallMethod("addListener", 1).Pop();
}

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

void Video(MovieBuilder& movie, const std::string& flv) {
  constexpr std::uint16_t kVideoId = 1;
  pagoro::swf::ByteWriter stream;
  stream.U16(kVideoId);
  stream.U16(0);  // frames of its own: none, it shows a NetStream
  stream.U16(320);
  stream.U16(240);
  stream.U8(0);                                              // no deblocking, no smoothing
  stream.U8(0);                                              // no codec of its own
  movie.Add(Tag{static_cast<TagCode>(60), stream.bytes()});  // DefineVideoStream
  pagoro::swf::PlaceObject place;
  place.character_id = kVideoId;
  place.matrix = pagoro::swf::Translate(240, 180);
  place.name = "vid";
  movie.Add(pagoro::swf::PlaceObject2(place));
  movie.Add(DoAction(ActionBuilder().FsCommand("outcommand", "SetTempPath").Finish()));
  movie.Add(ShowFrame());
  // Frame 2: until the reader has set TempPath, back to frame 1.
  ActionBuilder a;
  const auto ready = a.NewLabel();
  const auto done = a.NewLabel();
  a.Push("TempPath").GetVariable().PushUndefined().Equals2().Not().If(ready);
  a.GotoFrame(0).Play().Jump(done);
  a.Bind(ready);
  a.Push("nc").NewObject("NetConnection", 0).SetVariable();
  a.PushNull().Push("nc").GetVariable().CallMethod("connect", 1).Pop();
  a.Push("ns").Push("nc").GetVariable().NewObject("NetStream", 1).SetVariable();
  ActionBuilder status;
  status.Push("FSCommand:status").Push("info").GetVariable().Push("code").GetMember().GetUrl2(0);
  a.Push("ns").GetVariable().Push("onStatus");
  a.DefineFunction("", {"info"}, status).SetMember();
  a.Push("ns").GetVariable().Push("vid").GetVariable().CallMethod("attachVideo", 1).Pop();
  a.Push("TempPath").GetVariable().Push(flv).Add2();
  a.Push("ns").GetVariable().CallMethod("play", 1).Pop();
  a.Stop();
  a.Bind(done);
  movie.Add(DoAction(a.Finish()));
  movie.Add(ShowFrame());
}

// `seconds` of a sine of `hertz` as 16-bit little-endian mono PCM at 22050 Hz.
pagoro::swf::Bytes Sine(double hertz, double seconds) {
  constexpr double kRate = 22050;
  constexpr double kAmplitude = 12000;
  pagoro::swf::ByteWriter pcm;
  const int samples = static_cast<int>(kRate * seconds);
  for (int i = 0; i < samples; ++i) {
    const double t = i / kRate;
    pcm.I16(static_cast<std::int16_t>(std::lround(kAmplitude * std::sin(2 * M_PI * hertz * t))));
  }
  return pcm.bytes();
}

// Uncompressed little-endian, 22 kHz, 16-bit, mono.
constexpr std::uint8_t kSoundFormat = (3 << 4) | (2 << 2) | (1 << 1);
constexpr std::uint16_t kSoundId = 1;

// Defines the event sound kSoundId: 440 Hz for 2 s.
void Define440(MovieBuilder& movie) {
  const pagoro::swf::Bytes event = Sine(440, 2);
  pagoro::swf::ByteWriter define;
  define.U16(kSoundId);
  define.U8(kSoundFormat);
  define.U32(static_cast<std::uint32_t>(event.size() / 2));
  define.Raw(event);
  movie.Add(Tag{TagCode::kDefineSound, define.bytes()});
}

void Start440(MovieBuilder& movie) {
  pagoro::swf::ByteWriter start;
  start.U16(kSoundId);
  start.U8(0);  // no envelope, loops or points
  movie.Add(Tag{TagCode::kStartSound, start.bytes()});
}

void Tone(MovieBuilder& movie) {
  constexpr int kSamplesPerFrame = 22050 / kFramesPerSecond;
  Define440(movie);
  pagoro::swf::ByteWriter head;
  head.U8(kSoundFormat & 0x0F);
  head.U8(kSoundFormat);
  head.U16(kSamplesPerFrame);
  movie.Add(Tag{static_cast<TagCode>(45), head.bytes()});  // SoundStreamHead2
  Start440(movie);
  movie.Add(DoAction(ActionBuilder().FsCommand("toneStart", "").Finish()));
  movie.Add(ShowFrame());
  for (int frame = 1; frame < 2 * kFramesPerSecond; ++frame) movie.Add(ShowFrame());
  const pagoro::swf::Bytes stream = Sine(1000, 2);
  for (int frame = 0; frame < 2 * kFramesPerSecond; ++frame) {
    const auto from = stream.begin() + static_cast<std::ptrdiff_t>(frame) * kSamplesPerFrame * 2;
    movie.Add(Tag{static_cast<TagCode>(19), pagoro::swf::Bytes(from, from + kSamplesPerFrame * 2)});
    movie.Add(ShowFrame());  // SoundStreamBlock above
  }
  movie.Add(ShowFrame());
  movie.Add(DoAction(ActionBuilder().FsCommand("toneDone", "").Stop().Finish()));
  movie.Add(ShowFrame());
}

void Later(MovieBuilder& movie) {
  Define440(movie);
  ActionBuilder press;
  press.Play();
  ActionBuilder a;
  OnMouseDown(a, press);
  a.FsCommand("ready", "").Stop();
  movie.Add(DoAction(a.Finish()));
  movie.Add(ShowFrame());
  Start440(movie);
  movie.Add(DoAction(ActionBuilder().FsCommand("sounding", "").Finish()));
  movie.Add(ShowFrame());
  for (int frame = 1; frame < 2 * kFramesPerSecond; ++frame) movie.Add(ShowFrame());
  movie.Add(DoAction(ActionBuilder().FsCommand("laterDone", "").Stop().Finish()));
  movie.Add(ShowFrame());
}

void Mail(MovieBuilder& movie) {
  ActionBuilder press;
  press.GetUrl("mailto:press@example.invalid?subject=Hi", "")
      .GetUrl("gopher://example.invalid/", "")
      .FsCommand("mouse", "down");
  ActionBuilder a;
  OnMouseDown(a, press);
  a.GetUrl("mailto:timer@example.invalid", "").GetUrl("gopher://example.invalid/", "");
  a.FsCommand("ready", "").Stop();
  movie.Add(DoAction(a.Finish()));
  movie.Add(ShowFrame());
}

void Presses(MovieBuilder& movie) {
  ActionBuilder press;
  press.Push("n").Push("n").GetVariable().Push(1).Add2().SetVariable();
  press.Push("so").GetVariable().Push("data").GetMember().Push("page");
  press.Push("n").GetVariable().SetMember();
  press.Push("FSCommand:flush");
  press.Push("so").GetVariable().CallMethod("flush", 0).Push("|").Add2();
  press.Push("n").GetVariable().Add2().GetUrl2(0);
  ActionBuilder a;
  GetLocal(a, "so", "bookmark");
  a.Push("n").Push(0).SetVariable();
  OnMouseDown(a, press);
  a.FsCommand("ready", "").Stop();
  movie.Add(DoAction(a.Finish()));
  movie.Add(ShowFrame());
}

void Keep(MovieBuilder& movie, const std::string& value, bool quit) {
  ActionBuilder a;
  GetLocal(a, "so", "bookmark");
  a.Push("FSCommand:read");
  PushPage(a, "so").GetUrl2(0);
  a.Push("so").GetVariable().Push("data").GetMember().Push("page").Push(value).SetMember();
  a.FsCommand("kept", "");
  if (!quit) a.Stop();
  movie.Add(DoAction(a.Finish()));
  movie.Add(ShowFrame());
  if (!quit) return;
  movie.Add(ShowFrame());
  movie.Add(DoAction(ActionBuilder().FsCommand("quit", "").Stop().Finish()));
  movie.Add(ShowFrame());
}

void Screen(MovieBuilder& movie) {
  const auto push_capability = [](ActionBuilder& a, const char* property) -> ActionBuilder& {
    return a.Push("System")
        .GetVariable()
        .Push("capabilities")
        .GetMember()
        .Push(property)
        .GetMember();
  };
  ActionBuilder say;
  say.Push("FSCommand:screen");
  push_capability(say, "screenResolutionX").Push("x").Add2();
  push_capability(say, "screenResolutionY").Add2().GetUrl2(0);
  ActionBuilder a;
  OnMouseDown(a, say);
  a.Push("listener").GetVariable().CallMethod("onMouseDown", 0).Pop();
  a.Stop();
  movie.Add(DoAction(a.Finish()));
  movie.Add(ShowFrame());
}

int Usage() {
  std::cerr << "usage: pagoro-media-movie OUT store|netstore DEFAULT ROOT [BIG] | presses | "
               "keep VALUE [quit] | screen | video FLV | tone | later | mail\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string kind = argv[2];
  const std::vector<std::string> args(argv + 3, argv + argc);
  MovieBuilder movie({.version = 8,
                      .width = 800,
                      .height = 600,
                      .frame_rate = kFramesPerSecond,
                      .file_attributes = kind == "netstore"
                                             ? pagoro::swf::file_attributes::kUseNetwork
                                             : std::uint32_t{0}});
  movie.Add(pagoro::swf::SetBackgroundColor({40, 40, 40}));
  if ((kind == "store" || kind == "netstore") && args.size() >= 2) {
    Store(movie, args);
  } else if (kind == "presses") {
    Presses(movie);
  } else if (kind == "keep" && (args.size() == 1 || (args.size() == 2 && args[1] == "quit"))) {
    Keep(movie, args[0], args.size() == 2);
  } else if (kind == "screen") {
    Screen(movie);
  } else if (kind == "video" && args.size() == 1) {
    Video(movie, args[0]);
  } else if (kind == "tone") {
    Tone(movie);
  } else if (kind == "later") {
    Later(movie);
  } else if (kind == "mail") {
    Mail(movie);
  } else {
    return Usage();
  }
  const pagoro::swf::Bytes bytes = movie.Finish();
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return out ? 0 : 1;
}
