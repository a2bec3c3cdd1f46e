#include "app/command_line.h"

#include <gtest/gtest.h>

namespace pagoro {
namespace {

using Action = CommandLine::Action;

TEST(CommandLineTest, OneFileOrAnOptionThatEndsTheRun) {
  EXPECT_EQ(ParseCommandLine({}).action, Action::kRun);
  EXPECT_EQ(ParseCommandLine({}).file, QString());
  EXPECT_EQ(ParseCommandLine({"Spring.EXE"}).file, QStringLiteral("Spring.EXE"));
  EXPECT_EQ(ParseCommandLine({"--help", "x.swf"}).action, Action::kHelp);
  EXPECT_EQ(ParseCommandLine({"x.swf", "-h"}).action, Action::kHelp);
  EXPECT_EQ(ParseCommandLine({"--version"}).action, Action::kVersion);
  // "-" alone is a file name; after "--" every argument is.
  EXPECT_EQ(ParseCommandLine({"-"}).file, QStringLiteral("-"));
  const CommandLine dashed = ParseCommandLine({"--", "--help"});
  EXPECT_EQ(dashed.action, Action::kRun);
  EXPECT_EQ(dashed.file, QStringLiteral("--help"));
  // Where the file stands, so that its own bytes can be taken.
  EXPECT_EQ(dashed.file_index, 1);
  EXPECT_EQ(ParseCommandLine({}).file_index, -1);
}

TEST(CommandLineTest, WhatCanNotBeRunIsNamed) {
  const CommandLine unknown = ParseCommandLine({"--fullscreen"});
  EXPECT_EQ(unknown.action, Action::kUsageError);
  EXPECT_EQ(unknown.error, QStringLiteral("unknown option --fullscreen"));
  const CommandLine two = ParseCommandLine({"a.exe", "b.exe"});
  EXPECT_EQ(two.action, Action::kUsageError);
  EXPECT_TRUE(two.error.contains("a.exe") && two.error.contains("b.exe"));
  EXPECT_EQ(ParseCommandLine({""}).action, Action::kUsageError);
  EXPECT_EQ(ParseCommandLine({"--forget=a.exe"}).action, Action::kUsageError);
  // The rules pagoro-book keeps too: help asked for anywhere is shown.
  EXPECT_EQ(ParseCommandLine({"--fullscreen", "a.exe", "b.exe", "--help"}).action, Action::kHelp);
}

TEST(CommandLineTest, ForgetTakesTheMagazinesFile) {
  const CommandLine forget = ParseCommandLine({"--forget", "Spring.exe"});
  EXPECT_EQ(forget.action, Action::kForget);
  EXPECT_EQ(forget.file, QStringLiteral("Spring.exe"));
  EXPECT_EQ(forget.file_index, 1);
  EXPECT_EQ(ParseCommandLine({"--forget"}).action, Action::kUsageError);
  EXPECT_EQ(ParseCommandLine({"--forget", "a.exe", "b.exe"}).action, Action::kUsageError);
}

}  // namespace
}  // namespace pagoro
