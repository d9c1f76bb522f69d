// What drives the console: its options, its stdin commands and the virtual clock's timers.
#include <gtest/gtest.h>

#include <vector>

#include "frontends/console/commands.h"
#include "frontends/console/options.h"
#include "frontends/console/timers.h"

namespace quorvex {
namespace {

using Kind = ConsoleCommand::Kind;

TEST(ConsoleCommand, ReadsTheThreeCommandsAndSaysWhyItRefusesALine) {
  struct Case {
    const char* line;
    Kind kind;
    std::string name;
    int index;
    bool hasIndex;
    int64_t ms;
  };
  for (const Case& c : {Case{"rbutton", Kind::RButton, "", 0, false, 0},
                        Case{"click menServername 4", Kind::Click, "menServername", 4, true, 0},
                        Case{"click menExit", Kind::Click, "menExit", 0, false, 0},
                        Case{"  click\tmenSort   3 \r", Kind::Click, "menSort", 3, true, 0},
                        Case{"advance 20000", Kind::Advance, "", 0, false, 20000},
                        Case{"advance 0\r", Kind::Advance, "", 0, false, 0},
                        Case{" \t\r", Kind::Nothing, "", 0, false, 0}}) {
    const ConsoleCommand command = ParseConsoleCommand(c.line);
    EXPECT_EQ(command.kind, c.kind) << c.line;
    EXPECT_EQ(command.name, c.name) << c.line;
    EXPECT_EQ(command.index, c.index) << c.line;
    EXPECT_EQ(command.hasIndex, c.hasIndex) << c.line;
    EXPECT_EQ(command.ms, c.ms) << c.line;
  }
  EXPECT_EQ(ParseConsoleCommand("dance now").error, "unknown command: dance");
  for (const char* line : {"click", "click a 1 2", "click menSort x", "click menSort 1.5", "advance", "advance -1",
                           "advance 10ms", "advance 1 2", "advance 99999999999999999999", "rbutton now", "RBUTTON"}) {
    EXPECT_EQ(ParseConsoleCommand(line).kind, Kind::Invalid) << line;
    EXPECT_FALSE(ParseConsoleCommand(line).error.empty()) << line;
  }
}

TEST(ConsoleOptions, EveryOptionInAnyOrderOverTheDefaults) {
  ConsoleOptions defaults;
  defaults.master = "127.0.0.1:28780";
  defaults.latestVersion = "http://127.0.0.1:28780/latest_version.txt";
  const ConsoleOptions plain = ParseConsoleOptions({}, defaults);
  EXPECT_EQ(plain.master, defaults.master);
  EXPECT_FALSE(plain.home || plain.virtualTime || plain.readable);
  const ConsoleOptions options = ParseConsoleOptions({"--readable", "--home", "/tmp/q", "--master", "127.0.0.5:9",
                                                      "--virtual-time", "--latest-version", "http://127.0.0.5:9/v"},
                                                     defaults);
  EXPECT_EQ(options.master, "127.0.0.5:9");
  EXPECT_EQ(options.latestVersion, "http://127.0.0.5:9/v");
  EXPECT_EQ(options.home, "/tmp/q");
  EXPECT_TRUE(options.virtualTime && options.readable);
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--verbose"}, {"--master"}, {"--home", ""}, {"127.0.0.1"}})
    EXPECT_THROW(ParseConsoleOptions(args, defaults), UsageError) << args[0];
}

using Ticks = std::vector<std::pair<TimerId, int64_t>>;

Ticks TakeAll(TimerSchedule& schedule, int64_t until) {
  Ticks ticks;
  while (const auto tick = schedule.TakeDue(until)) ticks.emplace_back(tick->timer, tick->at);
  return ticks;
}

TEST(TimerSchedule, TicksComeInDueOrderThenSetOrderAndRepeatEveryInterval) {
  TimerSchedule schedule;
  EXPECT_FALSE(schedule.NextDue());
  schedule.Set(TimerId::Timer1, true, 300, 0);
  schedule.Set(TimerId::Timer3, true, 250, 0);
  schedule.Set(TimerId::Timer2, true, 1000, 100);
  EXPECT_EQ(schedule.NextDue(), 250);
  EXPECT_FALSE(schedule.TakeDue(249));
  EXPECT_EQ(TakeAll(schedule, 1100), (Ticks{{TimerId::Timer3, 250}, {TimerId::Timer1, 300}, {TimerId::Timer3, 500},
                                            {TimerId::Timer1, 600}, {TimerId::Timer3, 750}, {TimerId::Timer1, 900},
                                            {TimerId::Timer3, 1000}, {TimerId::Timer2, 1100}}));
  EXPECT_EQ(schedule.NextDue(), 1200);
  // Set again, the interval starts afresh; three due at one moment come in the order set.
  schedule.Set(TimerId::Timer2, true, 100, 1100);
  schedule.Set(TimerId::Timer1, true, 50, 1150);
  schedule.Set(TimerId::Timer3, true, 100, 1100);
  EXPECT_EQ(TakeAll(schedule, 1200), (Ticks{{TimerId::Timer2, 1200}, {TimerId::Timer1, 1200}, {TimerId::Timer3, 1200}}));
  schedule.Set(TimerId::Timer1, false, 100, 1200);  // disabled or without an interval: no tick
  schedule.Set(TimerId::Timer2, true, 0, 1200);
  schedule.Set(TimerId::Timer3, true, -5, 1200);
  EXPECT_FALSE(schedule.NextDue());
  EXPECT_FALSE(schedule.TakeDue(1'000'000));
}

}  // namespace
}  // namespace quorvex
