#include "core/arguments.h"

#include <gtest/gtest.h>

namespace pagoro {
namespace {

constexpr OptionRule kRules[] = {
    {.name = "--output", .short_name = "-o", .takes_value = true},
    {.name = "--forget", .short_name = "", .takes_value = false},
};
constexpr std::size_t kOutput = 0;
constexpr std::size_t kForget = 1;

ParsedArguments Parse(const std::vector<std::string>& arguments) {
  return ParseArguments(arguments, kRules);
}

TEST(ArgumentsTest, OptionsAndOperandsInAnyOrder) {
  const ParsedArguments parsed = Parse({"dir", "-o", "-out.exe", "--forget", "-", "--output=b"});
  EXPECT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.operands, (std::vector<std::string>{"dir", "-"}));
  EXPECT_EQ(parsed.operand_places, (std::vector<std::size_t>{0, 4}));
  ASSERT_EQ(parsed.options.size(), 3u);
  EXPECT_EQ(parsed.options[0].option, kOutput);
  EXPECT_EQ(parsed.options[0].value, "-out.exe");  // a value is taken as it stands
  EXPECT_TRUE(parsed.Has(kForget));
  EXPECT_EQ(parsed.options[2].value, "b");
  EXPECT_FALSE(parsed.help || parsed.version);

  // After "--" everything is an operand, "--help" included.
  const ParsedArguments ended = Parse({"--", "--help", "-o", "--"});
  EXPECT_EQ(ended.operands, (std::vector<std::string>{"--help", "-o", "--"}));
  EXPECT_EQ(ended.operand_places, (std::vector<std::size_t>{1, 2, 3}));
  EXPECT_FALSE(ended.help);
  EXPECT_EQ(ended.error, "");
}

TEST(ArgumentsTest, TheFirstFaultIsNamedAndHelpStillWins) {
  EXPECT_EQ(Parse({"--colour", "-x"}).error, "unknown option \"--colour\"");
  EXPECT_EQ(Parse({"--colour", "-x"}).unknown_option, "--colour");
  EXPECT_EQ(Parse({"-o"}).unknown_option, "");
  EXPECT_EQ(Parse({"--colour=red"}).error, "unknown option \"--colour=red\"");
  EXPECT_EQ(Parse({"dir", "-o"}).error, "-o needs a value");
  EXPECT_EQ(Parse({"--forget=x"}).error, "--forget takes no value");
  EXPECT_EQ(Parse({"--help=x"}).error, "--help takes no value");
  const ParsedArguments help = Parse({"--colour", "a", "b", "-h"});
  EXPECT_TRUE(help.help);
  EXPECT_NE(help.error, "");  // the caller shows the help instead
  EXPECT_TRUE(Parse({"x", "--version"}).version);
}

}  // namespace
}  // namespace pagoro
