#include "frontends/console/commands.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

using Kind = ConsoleCommand::Kind;

TEST(ConsoleCommand, ReadsTheThreeCommands) {
  EXPECT_EQ(ParseConsoleCommand("rbutton").kind, Kind::RButton);

  const ConsoleCommand click = ParseConsoleCommand("click menServername 4");
  EXPECT_EQ(click.kind, Kind::Click);
  EXPECT_EQ(click.name, "menServername");
  EXPECT_EQ(click.index, 4);
  EXPECT_TRUE(click.hasIndex);

  const ConsoleCommand advance = ParseConsoleCommand("advance 20000");
  EXPECT_EQ(advance.kind, Kind::Advance);
  EXPECT_EQ(advance.ms, 20000);
}

TEST(ConsoleCommand, AClickWithoutIndexMeansIndexZero) {
  const ConsoleCommand click = ParseConsoleCommand("click menExit");
  EXPECT_EQ(click.kind, Kind::Click);
  EXPECT_EQ(click.index, 0);
  EXPECT_FALSE(click.hasIndex);
}

TEST(ConsoleCommand, ToleratesBlanksTabsAndACarriageReturn) {
  const ConsoleCommand click = ParseConsoleCommand("  click\tmenSort   3 \r");
  EXPECT_EQ(click.kind, Kind::Click);
  EXPECT_EQ(click.name, "menSort");
  EXPECT_EQ(click.index, 3);
  EXPECT_EQ(ParseConsoleCommand("advance 0\r").kind, Kind::Advance);
  EXPECT_EQ(ParseConsoleCommand("").kind, Kind::Nothing);
  EXPECT_EQ(ParseConsoleCommand(" \t\r").kind, Kind::Nothing);
}

TEST(ConsoleCommand, RefusesWhatItCannotRunAndSaysWhy) {
  const ConsoleCommand unknown = ParseConsoleCommand("dance now");
  EXPECT_EQ(unknown.kind, Kind::Invalid);
  EXPECT_EQ(unknown.error, "unknown command: dance");
  for (const char* line : {"click", "click a 1 2", "click menSort x", "click menSort 1.5", "advance",
                           "advance -1", "advance 10ms", "advance 1 2", "advance 99999999999999999999",
                           "rbutton now", "RBUTTON"}) {
    EXPECT_EQ(ParseConsoleCommand(line).kind, Kind::Invalid) << line;
    EXPECT_FALSE(ParseConsoleCommand(line).error.empty()) << line;
  }
}

}  // namespace
}  // namespace quorvex
