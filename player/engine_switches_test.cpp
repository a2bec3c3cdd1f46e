#include "player/engine_switches.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace pagoro {
namespace {

using Flags = std::vector<std::string>;

const Flags kOurs = {"--js-flags=--a --b=2", "--disable-features=Audio", "--in-process"};

TEST(EngineSwitchesTest, WithoutTheVariableTheyFollowWebEngineArgs) {
  const EngineLaunch launch = PlanEngineLaunch("/books/Book.exe", std::nullopt, kOurs);
  EXPECT_EQ(launch.arguments, (Flags{"/books/Book.exe", "--webEngineArgs", "--js-flags=--a --b=2",
                                     "--disable-features=Audio", "--in-process"}));
  EXPECT_FALSE(launch.chromium_flags);
}

// The engine then reads the variable alone: the switches join it, quoted
// where they hold spaces, and the user's own switches all survive.
TEST(EngineSwitchesTest, WithTheVariableTheyJoinIt) {
  struct Case {
    const char* what;
    std::string variable;
    std::string want;
  };
  const Case cases[] = {
      {"set but empty", "", R"("--js-flags=--a --b=2" --disable-features=Audio --in-process)"},
      {"other switches kept in order", "--enable-logging  --v=1",
       R"(--enable-logging --v=1 "--js-flags=--a --b=2" --disable-features=Audio --in-process)"},
      {"list values joined, ours first", R"("--js-flags=--c --b=3" --disable-features=Vulkan,Zoom)",
       R"("--js-flags=--a --b=2 --c --b=3" --disable-features=Audio,Vulkan,Zoom --in-process)"},
      {"a quote in the middle of a flag", R"(--js-flags="--c --d")",
       R"("--js-flags=--a --b=2 --c --d" --disable-features=Audio --in-process)"},
      {"the last occurrence is the one joined", "--disable-features=X --disable-features=Y",
       R"(--disable-features=X --disable-features=Audio,Y "--js-flags=--a --b=2" --in-process)"},
      {"a list switch without a value takes ours", "--js-flags --in-process=no",
       R"("--js-flags=--a --b=2" --in-process=no --disable-features=Audio)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const EngineLaunch launch = PlanEngineLaunch("Book.exe", c.variable, kOurs);
    EXPECT_EQ(launch.arguments, Flags{"Book.exe"});
    ASSERT_TRUE(launch.chromium_flags);
    EXPECT_EQ(*launch.chromium_flags, c.want);
    // What the engine reads back is what was meant.
    EXPECT_EQ(SplitChromiumFlags(*launch.chromium_flags), SplitChromiumFlags(c.want));
  }
}

// The process's own arguments and variable, as main() hands them to Qt.
TEST(EngineSwitchesTest, ArgumentsForTheApplication) {
  unsetenv("QTWEBENGINE_CHROMIUM_FLAGS");
  {
    EngineArguments args("prog");
    ASSERT_EQ(args.argc(), static_cast<int>(EngineSwitches().size()) + 2);
    EXPECT_STREQ(args.argv()[0], "prog");
    EXPECT_STREQ(args.argv()[1], "--webEngineArgs");
    EXPECT_EQ(args.argv()[args.argc()], nullptr);
    EXPECT_EQ(std::getenv("QTWEBENGINE_CHROMIUM_FLAGS"), nullptr);
  }
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--enable-logging", 1);
  {
    EngineArguments args("prog");
    EXPECT_EQ(args.argc(), 1);
    EXPECT_EQ(args.argv()[1], nullptr);
    const std::string flags = std::getenv("QTWEBENGINE_CHROMIUM_FLAGS");
    EXPECT_EQ(flags.rfind("--enable-logging ", 0), 0U) << flags;
    EXPECT_EQ(SplitChromiumFlags(flags).size(), EngineSwitches().size() + 1) << flags;
  }
  unsetenv("QTWEBENGINE_CHROMIUM_FLAGS");
}

}  // namespace
}  // namespace pagoro
