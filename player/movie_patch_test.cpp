#include "player/movie_patch.h"

#include <gtest/gtest.h>

#include "tools/swf/action_machine.h"
#include "tools/swf/actions.h"
#include "tools/swf/movie.h"
#include "tools/swf/swf_reader.h"
#include "tools/swf/test_movies.h"

namespace pagoro {
namespace {

using swf::Bytes;

constexpr const char* kUrl = "pagoro://movie/vars?n=1";

swf::ParsedMovie Read(const Bytes& file) {
  swf::ReadResult r = swf::ReadMovie(file);
  EXPECT_TRUE(r.movie) << r.error;
  return r.movie ? *r.movie : swf::ParsedMovie{};
}

// The movie's bytes from the first tag on, with the given tag left out.
Bytes TagsWithout(const swf::ParsedMovie& m, std::size_t index) {
  Bytes out;
  for (std::size_t i = 0; i < m.tags.size(); ++i) {
    if (i == index) continue;
    const auto& t = m.tags[i];
    out.insert(out.end(), m.data.begin() + static_cast<std::ptrdiff_t>(t.offset),
               m.data.begin() + static_cast<std::ptrdiff_t>(t.body_offset + t.body_length));
  }
  return out;
}

TEST(VariablePoller, InsertedFirstAndMovieOtherwiseUnchanged) {
  for (int version : {5, 6, 8, 10}) {
    for (bool compressed : {false, true}) {
      SCOPED_TRACE("version " + std::to_string(version) + (compressed ? " CWS" : " FWS"));
      swf::TextMovieOptions o;
      o.movie = {version, compressed, 320, 240};
      o.text = "Page 1";
      const Bytes original = swf::TextMovie(o);
      const PatchResult r = InsertVariablePoller(original, kUrl, 50);
      ASSERT_TRUE(r.patched) << r.reason;
      EXPECT_EQ(r.swf_version, version);
      EXPECT_FALSE(r.is_avm2);
      EXPECT_TRUE(r.reason.empty());

      const swf::ParsedMovie before = Read(original);
      const swf::ParsedMovie after = Read(r.bytes);
      EXPECT_FALSE(after.compressed);
      EXPECT_EQ(after.declared_length, r.bytes.size());
      EXPECT_EQ(after.frame_count, before.frame_count);
      EXPECT_EQ(after.frame_rate, before.frame_rate);
      EXPECT_EQ(after.frame_size.x_max, before.frame_size.x_max);
      ASSERT_EQ(after.tags.size(), before.tags.size() + 1);
      const std::size_t at = version >= 8 ? 1 : 0;  // after FileAttributes
      EXPECT_EQ(after.tags[at].code, 12);
      if (version >= 8) {
        EXPECT_EQ(after.tags[0].code, 69);
      }
      EXPECT_EQ(TagsWithout(after, at), TagsWithout(before, before.tags.size()));
    }
  }
}

TEST(VariablePoller, PollsIntoLevelZeroAndLeavesNothingBehind) {
  const Bytes original = swf::EchoMovie({6, false, 320, 240}, {"incommand"});
  const PatchResult r = InsertVariablePoller(original, kUrl, 40);
  ASSERT_TRUE(r.patched) << r.reason;
  const swf::ParsedMovie m = Read(r.bytes);
  const auto block = m.Body(m.tags[0]);

  swf::ActionMachine machine;
  ASSERT_TRUE(machine.Run(block)) << machine.error();
  EXPECT_EQ(machine.stack_size(), 0u);
  EXPECT_TRUE(machine.variables.empty());
  EXPECT_TRUE(machine.url_requests.empty());
  ASSERT_EQ(machine.calls.size(), 1u);
  const auto& call = machine.calls[0];
  EXPECT_EQ(call.name, "setInterval");
  ASSERT_EQ(call.args.size(), 2u);
  EXPECT_EQ(call.args[1].ToNumber(), 40);

  // Each tick loads the url's variables into level 0 and sets nothing else.
  for (int tick = 0; tick < 2; ++tick) {
    ASSERT_TRUE(machine.Invoke(call.args[0], {})) << machine.error();
    ASSERT_EQ(machine.stack_size(), 1u);  // the call's result, dropped by the timer
    ASSERT_TRUE(machine.Run(swf::ActionBuilder().Pop().Finish()));
  }
  ASSERT_EQ(machine.url_requests.size(), 2u);
  for (const auto& u : machine.url_requests) {
    EXPECT_EQ(u.url, kUrl);
    EXPECT_EQ(u.target, "_level0");
    EXPECT_EQ(u.flags, swf::geturl2::kLoadVariables);
  }
  EXPECT_TRUE(machine.variables.empty());
}

TEST(VariablePoller, ActionScript3MoviesAreLeftAlone) {
  // One marked in FileAttributes, one that only carries a code tag.
  swf::MovieOptions marked;
  marked.version = 10;
  marked.file_attributes = swf::file_attributes::kActionScript3;
  swf::MovieOptions unmarked;
  unmarked.version = 9;
  unmarked.compressed = true;
  for (const auto& [options, code] :
       {std::pair{marked, swf::TagCode::kShowFrame}, std::pair{unmarked, swf::TagCode::kDoAbc}}) {
    swf::MovieBuilder b(options);
    b.Add(swf::Tag{code, {}});
    const Bytes movie = b.Finish();
    const PatchResult r = InsertVariablePoller(movie, kUrl);
    EXPECT_FALSE(r.patched);
    EXPECT_TRUE(r.is_avm2);
    EXPECT_EQ(r.swf_version, options.version);
    EXPECT_EQ(r.bytes, movie);
    EXPECT_FALSE(r.reason.empty());
  }
}

TEST(VariablePoller, UnusableInputComesBackUnchangedWithAReason) {
  swf::MovieOptions v4;
  v4.version = 4;
  const Bytes old_movie = swf::MovieBuilder(v4).Add(swf::ShowFrame()).Finish();
  const Bytes good = swf::FsCommandMovie({8, false, 320, 240}, {{"a", "b"}});
  const Bytes cut(good.begin(), good.end() - 2);  // no End tag
  struct Case {
    Bytes movie;
    std::string url;
    int interval;
    int version;
  };
  const std::vector<Case> cases{
      {{}, kUrl, 50, 0},
      {Bytes{'F', 'W', 'S'}, kUrl, 50, 0},
      {Bytes(100, 0x41), kUrl, 50, 0},
      {old_movie, kUrl, 50, 4},
      {cut, kUrl, 50, 8},
      {good, "", 50, 0},
      {good, "pagoro://movie/vars?x=ü", 50, 0},
      {good, "pagoro://movie/va rs", 50, 0},
      {good, kUrl, 0, 0},
  };
  for (const Case& c : cases) {
    const PatchResult r = InsertVariablePoller(c.movie, c.url, c.interval);
    EXPECT_FALSE(r.patched) << c.url;
    EXPECT_EQ(r.bytes, c.movie);
    EXPECT_FALSE(r.reason.empty());
    EXPECT_EQ(r.swf_version, c.version) << r.reason;
  }
}

// Cut and damaged movies, plain and compressed: the patcher must never read
// outside its input (the sanitizers watch), and whatever it patches must
// read back whole.
TEST(VariablePoller, SurvivesCutAndDamagedMovies) {
  for (bool compressed : {false, true}) {
    const Bytes good = swf::EchoMovie({8, compressed, 320, 240}, {"a", "b"});
    for (std::size_t n = 0; n < good.size(); ++n) {
      const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
      const PatchResult r = InsertVariablePoller(cut, kUrl);
      if (r.patched) {
        // Only a compressed movie can lose bytes and keep its tags whole:
        // those of the zlib trailer.
        EXPECT_TRUE(compressed) << n;
        EXPECT_TRUE(swf::ReadMovie(r.bytes).movie);
      } else {
        EXPECT_EQ(r.bytes, cut);
      }
    }
    std::uint32_t seed = 99;
    for (int round = 0; round < 3000; ++round) {
      Bytes damaged = good;
      const int changes = 1 + round % 4;
      for (int k = 0; k < changes; ++k) {
        seed = seed * 1664525 + 1013904223;
        damaged[(seed >> 8) % damaged.size()] = static_cast<std::uint8_t>(seed >> 24);
      }
      const PatchResult r = InsertVariablePoller(damaged, kUrl);
      if (r.patched) {
        const swf::ReadResult back = swf::ReadMovie(r.bytes);
        ASSERT_TRUE(back.movie) << back.error;
        EXPECT_EQ(back.movie->declared_length, r.bytes.size());
      } else {
        EXPECT_EQ(r.bytes, damaged);
        EXPECT_FALSE(r.reason.empty());
      }
    }
  }
}

}  // namespace
}  // namespace pagoro
