// The console's own pieces: stdin commands, the virtual clock's timers, JSON that stays valid
// whatever the texts hold. Its events' fields are console-e2e's.
#include <gtest/gtest.h>

#include <vector>

#include "frontends/console/commands.h"
#include "frontends/console/json.h"
#include "frontends/console/timers.h"

namespace quorvex {
namespace {

using Kind = ConsoleCommand::Kind;

// A refusal says why: the fuzz harness of the commands checks that for any line.
TEST(ConsoleCommand, ReadsTheFourCommandsAndRefusesAnythingElse) {
  const std::tuple<const char*, Kind, std::string, int, bool, int64_t> lines[] = {
      {"  click\tmenSort   3 \r", Kind::Click, "menSort", 3, true, 0},
      {"click menExit", Kind::Click, "menExit", 0, false, 0},
      {"advance 20000\r", Kind::Advance, "", 0, false, 20000},
      {" balloonclick", Kind::BalloonClick, "", 0, false, 0},
      {" \t\r", Kind::Nothing, "", 0, false, 0}};
  for (const auto& [line, kind, name, index, hasIndex, ms] : lines) {
    const ConsoleCommand command = ParseConsoleCommand(line);
    EXPECT_EQ(std::tie(command.kind, command.name, command.index, command.hasIndex, command.ms),
              std::tie(kind, name, index, hasIndex, ms))
        << line;
  }
  EXPECT_EQ(ParseConsoleCommand("dance now").error, "unknown command: dance");
  for (const char* line : {"click", "click a 1 2", "click menSort x", "click menSort 1.5", "advance", "advance -1",
                           "advance 10ms", "advance 1 2", "advance 99999999999999999999", "rbutton now", "RBUTTON",
                           "balloonclick 1", "balloon"})
    EXPECT_EQ(ParseConsoleCommand(line).kind, Kind::Invalid) << line;
}

// Due order, then the order the timers were set in; every interval again; none when disabled.
TEST(TimerSchedule, TicksComeInDueOrderThenSetOrderAndRepeatEveryInterval) {
  using enum TimerId;
  TimerSchedule schedule;
  schedule.Set(Timer1, true, 300, 0);
  schedule.Set(Timer3, true, 250, 0);
  schedule.Set(Timer2, true, 350, -50);
  EXPECT_FALSE(schedule.TakeDue(249));
  std::vector<std::pair<TimerId, int64_t>> ticks;
  while (const auto tick = schedule.TakeDue(600)) ticks.emplace_back(tick->timer, tick->at);
  EXPECT_EQ(ticks, (std::vector<std::pair<TimerId, int64_t>>{
                       {Timer3, 250}, {Timer1, 300}, {Timer2, 300}, {Timer3, 500}, {Timer1, 600}}));
  EXPECT_EQ(schedule.NextDue(), 650);
  schedule.Set(Timer1, false, 100, 600);  // disabled or without an interval: no tick
  schedule.Set(Timer2, true, 0, 600);
  schedule.Set(Timer3, true, -5, 600);
  EXPECT_FALSE(schedule.NextDue());
}

TEST(JsonString, EscapesWhatJsonNeedsAndReplacesWhatIsNoUtf8) {
  const std::pair<std::string_view, std::string> bytes[] = {
      {"say \"hi\" \\ bye", R"("say \"hi\" \\ bye")"},
      {"\r\n\t\b\f", R"("\r\n\t\b\f")"},
      {std::string_view("a\x01" "b\x1f" "c\0", 6), R"("a\u0001b\u001fc\u0000")"},
      {"\x7f/", "\"\x7f/\""},  // DEL and "/" need no escape
      {"bad \xFF byte", "\"bad \xEF\xBF\xBD byte\""},
  };
  for (const auto& [in, out] : bytes) EXPECT_EQ(JsonString(in), out) << out;
  EXPECT_EQ(JsonString(Text(u"S\u00e9r \U0001F3AE")), "\"S\xC3\xA9r \xF0\x9F\x8E\xAE\"");  // not "\ud83c..."
  EXPECT_EQ(JsonString(Text(1, char16_t(0xDC00))), "\"\xEF\xBF\xBD\"");
}

}  // namespace
}  // namespace quorvex
