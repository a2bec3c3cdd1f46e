#include "core/command_protocol.h"

#include <gtest/gtest.h>

#include <string>

namespace pagoro {
namespace {

struct Case {
  std::u16string command;
  std::u16string args;
  MovieAction want;
};

TEST(DecideFSCommandTest, FollowsTheTableExactly) {
  using A = MovieAction;
  const Case cases[] = {
      {u"outcommand", u"Refresh", A::kAnswerRefresh},
      {u"outcommand", u"SetTempPath", A::kAnswerTempPath},
      // Any other args of outcommand get no answer, close spellings included.
      {u"outcommand", u"refresh", A::kNone},
      {u"outcommand", u"SetTempPath ", A::kNone},
      {u"outcommand", u" Refresh", A::kNone},
      {u"outcommand", u"", A::kNone},
      // "outcommand" is never taken for another command, whatever its args.
      {u"outcommand", u"false", A::kNone},
      {u"outcommand", u"quit", A::kNone},
      {u"fullscreen", u"false", A::kEnterWindowed},
      {u"fullscreen", u"FALSE", A::kEnterMaximized},
      {u"fullscreen", u"0", A::kEnterMaximized},
      {u"fullscreen", u"no", A::kEnterMaximized},
      {u"fullscreen", u"", A::kEnterMaximized},
      {u"fullscreen", u"true", A::kEnterMaximized},
      {u"fullscreen", u"false ", A::kEnterMaximized},
      {u"quit", u"", A::kClose},
      {u"quit", u"now", A::kClose},
      {u"quit", u"false", A::kClose},
      // Case and padding of the command matter.
      {u"Quit", u"", A::kNone},
      {u"quit ", u"", A::kNone},
      {u"FullScreen", u"false", A::kNone},
      {u"OutCommand", u"Refresh", A::kNone},
      {u"Refresh", u"", A::kNone},
      {u"", u"", A::kNone},
      {u"echo", u"incommand=Refresh", A::kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.command.begin(), c.command.end()) + "|" +
                 std::string(c.args.begin(), c.args.end()));
    EXPECT_EQ(DecideFSCommand(c.command, c.args), c.want);
  }
}

// A NUL unit inside a string is a unit like any other, not an end.
TEST(DecideFSCommandTest, EmbeddedNulIsNotAnEnd) {
  using namespace std::literals;
  EXPECT_EQ(DecideFSCommand(u"quit\0x"sv, u""), MovieAction::kNone);
  EXPECT_EQ(DecideFSCommand(u"fullscreen", u"false\0"sv), MovieAction::kEnterMaximized);
}

}  // namespace
}  // namespace pagoro
