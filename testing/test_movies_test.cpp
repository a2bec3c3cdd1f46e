#include "testing/test_movies.h"

#include <gtest/gtest.h>

#include "swf/swf_reader.h"
#include "testing/action_machine.h"

namespace pagoro::swf {
namespace {

// The action blocks of the movie's frames, in order.
std::vector<std::vector<Bytes>> FrameActions(const Bytes& file) {
  const ReadResult r = ReadMovie(file);
  EXPECT_TRUE(r.movie) << r.error;
  std::vector<std::vector<Bytes>> frames(1);
  if (!r.movie) return frames;
  for (const TagRecord& t : r.movie->tags) {
    if (t.code == 12) {
      const auto body = r.movie->Body(t);
      frames.back().emplace_back(body.begin(), body.end());
    }
    if (t.code == 1) frames.emplace_back();
  }
  frames.pop_back();  // after the last ShowFrame
  return frames;
}

std::vector<FsCommandCall> FsCommands(const ActionMachine& m) {
  std::vector<FsCommandCall> out;
  for (const auto& u : m.url_requests) {
    EXPECT_EQ(u.url.rfind("FSCommand:", 0), 0u) << u.url;
    out.emplace_back(u.url.substr(10), u.target);
  }
  return out;
}

TEST(TestMovies, FsCommandMovieRaisesItsCallsInOrderForEveryVersion) {
  const std::vector<FsCommandCall> calls{
      {"outcommand", "SetTempPath"}, {"fullscreen", ""}, {"quit", "now"}, {"标题", "中文"}};
  for (int version : {5, 6, 8, 10}) {
    for (bool compressed : {false, true}) {
      const auto frames = FrameActions(FsCommandMovie({version, compressed, 320, 240}, calls));
      ASSERT_EQ(frames.size(), 1u);
      ActionMachine m;
      for (const Bytes& block : frames[0]) ASSERT_TRUE(m.Run(block)) << m.error();
      EXPECT_EQ(FsCommands(m), calls);
      EXPECT_TRUE(m.stopped);
      EXPECT_EQ(m.stack_size(), 0u);
    }
  }
}

TEST(TestMovies, EchoMovieEchoesEachValueOnceAndAgainWhenSetAgain) {
  const Bytes file = EchoMovie({6, true, 320, 240}, {"incommand", "TempPath"});
  const auto frames = FrameActions(file);
  ASSERT_EQ(frames.size(), 3u);

  ActionMachine m;
  ASSERT_TRUE(m.Run(frames[0][0])) << m.error();
  EXPECT_EQ(FsCommands(m), (std::vector<FsCommandCall>{{"ready", ""}}));

  // Nothing set: frames 2 and 3 stay quiet; frame 3 goes back to frame 2.
  m.url_requests.clear();
  ASSERT_TRUE(m.Run(frames[1][0])) << m.error();
  ASSERT_TRUE(m.Run(frames[2][0])) << m.error();
  EXPECT_TRUE(m.url_requests.empty());
  EXPECT_EQ(m.goto_frame, 1);
  EXPECT_TRUE(m.played);

  // Values arrive as strings; the empty string is a value too.
  const std::vector<std::vector<std::pair<std::string, std::string>>> deliveries{
      {{"TempPath", "/tmp/a/"}, {"incommand", "Refresh"}},
      {{"incommand", "Refresh"}},
      {{"incommand", ""}},
      {}};
  std::vector<FsCommandCall> echoed;
  for (const auto& delivery : deliveries) {
    for (const auto& [name, value] : delivery)
      m.variables[name] = ActionMachine::Value::String(value);
    m.url_requests.clear();
    ASSERT_TRUE(m.Run(frames[1][0])) << m.error();
    EXPECT_EQ(m.stack_size(), 0u);
    for (const auto& c : FsCommands(m)) echoed.push_back(c);
  }
  EXPECT_EQ(echoed, (std::vector<FsCommandCall>{{"echo", "incommand=Refresh"},
                                                {"echo", "TempPath=/tmp/a/"},
                                                {"echo", "incommand=Refresh"},
                                                {"echo", "incommand="}}));
}

TEST(TestMovies, TextMovieDefinesAPlacedDeviceFontField) {
  TextMovieOptions o;
  o.movie = {5, false, 400, 300};
  o.text = "Hello";
  o.variable = "shown";
  const ReadResult r = ReadMovie(TextMovie(o));
  ASSERT_TRUE(r.movie) << r.error;
  std::vector<std::uint16_t> codes;
  for (const auto& t : r.movie->tags) codes.push_back(t.code);
  EXPECT_EQ(codes, (std::vector<std::uint16_t>{9, 48, 37, 26, 12, 1, 0}));
  const auto font = r.movie->Body(r.movie->tags[1]);
  EXPECT_EQ(std::string(font.begin() + 5, font.begin() + 10), "_sans");
  const auto field = r.movie->Body(r.movie->tags[2]);
  const std::string tail(field.end() - 12, field.end());
  EXPECT_EQ(tail, std::string("shown\0Hello\0", 12));
}

}  // namespace
}  // namespace pagoro::swf
