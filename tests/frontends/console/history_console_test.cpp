// The console's side of the player history: the history command, the wall clock that moves
// with the virtual one, and the chart as a JSON line and as sparklines.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "frontends/console/clock.h"
#include "frontends/console/commands.h"
#include "frontends/console/json_output.h"
#include "frontends/console/options.h"
#include "frontends/console/readable_output.h"
#include "history/utc_time.h"

namespace quorvex {
namespace {

constexpr int64_t kDec8 = 1796688000000;  // 2026-12-08T00:00Z

TEST(ConsoleCommand, ReadsHistoryWithItsRange) {
  const std::pair<const char*, std::string> ranges[] = {{"history", "24h"}, {"history 24h", "24h"},
                                                        {" history\t7d\r", "7d"}, {"history 30d", "30d"}};
  for (const auto& [line, range] : ranges) {
    const ConsoleCommand command = ParseConsoleCommand(line);
    EXPECT_EQ(command.kind, ConsoleCommand::Kind::History) << line;
    EXPECT_EQ(command.range, range) << line;
  }
  for (const char* line : {"history 1d", "history 24H", "history 7d 30d", "history 24"}) {
    const ConsoleCommand command = ParseConsoleCommand(line);
    EXPECT_EQ(command.kind, ConsoleCommand::Kind::Invalid) << line;
    EXPECT_EQ(command.error, "usage: history [24h|7d|30d]") << line;
  }
}

TEST(ConsoleOptions, TakeAWallClockStartOnlyInUtcAndOnlyOnTheVirtualClock) {
  const ConsoleOptions options =
      ParseConsoleOptions({"--virtual-time", "--wall-clock-start", "2026-12-08T00:00:00Z"}, {});
  EXPECT_EQ(options.wallClockStart, kDec8);
  const std::pair<std::vector<std::string>, std::string> refused[] = {
      {{"--wall-clock-start", "2026-12-08T00:00:00Z"}, "--wall-clock-start needs --virtual-time"},
      {{"--virtual-time", "--wall-clock-start", "2026-12-08T00:00:00+01:00"},
       "--wall-clock-start: not a UTC time like 2026-12-08T00:00:00Z: 2026-12-08T00:00:00+01:00"},
      {{"--virtual-time", "--wall-clock-start", "2026-02-30T00:00:00Z"},
       "--wall-clock-start: not a UTC time like 2026-12-08T00:00:00Z: 2026-02-30T00:00:00Z"},
      {{"--virtual-time", "--wall-clock-start"}, "--wall-clock-start needs a value"},
  };
  for (const auto& [arguments, message] : refused) {
    try {
      ParseConsoleOptions(arguments, {});
      ADD_FAILURE() << message;
    } catch (const UsageError& error) {
      EXPECT_EQ(error.what(), message);
    }
  }
}

TEST(ConsoleClock, MovesItsTimeOfDayWithTheVirtualClock) {
  ConsoleClock clock(true, kDec8);
  EXPECT_EQ(clock.WallNow(), kDec8);
  clock.AdvanceTo(86'400'250);
  EXPECT_EQ(clock.WallNow(), kDec8 + 86'400'250);
  const int64_t before = ConsoleClock(true).WallNow();  // no start given: the real time at start
  EXPECT_GT(before, kDec8 - 400 * kDayMs);
  const ConsoleClock real(false, kDec8);  // the real clock keeps the real time of day
  EXPECT_GE(real.WallNow(), before);
}

// A chart of 24 hours ending at 00:05 with the total and one server, in one gap-broken line.
HistoryChart SmallChart() {
  HistoryChartBuilder builder(ChartRange::Day, kDec8);
  for (const int64_t at : {kDec8 - 2 * kBucketMs, kDec8}) {
    builder.Add({at, "*", "0", "", 4});
    builder.Add({at, "10.0.0.1", "27015", "Alpha \"A\"", 3});
  }
  return builder.Build([](int64_t) { return 0; });
}

TEST(JsonOutput, PrintsTheChartAsOneHistoryEvent) {
  std::ostringstream out;
  JsonOutput(out, ConsoleIcons{}).History(SmallChart());
  const std::string line = out.str();
  EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1);
  EXPECT_TRUE(line.starts_with("{\"ev\":\"history\",\"range\":\"24h\",\"title\":\"Players, last 24 hours\","
                               "\"start\":\"2026-12-07T00:05Z\",\"end\":\"2026-12-08T00:05Z\",\"playerTop\":5,"
                               "\"playerTicks\":[0,1,2,3,4,5],\"timeTicks\":[{\"time\":\"2026-12-07T01:00Z\","
                               "\"label\":\"\",\"major\":false},"))
      << line;
  EXPECT_NE(line.find("{\"time\":\"2026-12-08T00:00Z\",\"label\":\"Tue 8\",\"major\":true}"), std::string::npos);
  EXPECT_TRUE(line.ends_with(
      "\"series\":[{\"label\":\"All servers\",\"total\":true,\"playerMinutes\":40,\"peak\":4,\"colour\":\"#202020\","
      "\"segments\":[{\"from\":\"2026-12-07T23:50Z\",\"players\":[4]},{\"from\":\"2026-12-08T00:00Z\",\"players\":[4]}]},"
      "{\"label\":\"Alpha \\\"A\\\"\",\"total\":false,\"address\":\"10.0.0.1\",\"port\":\"27015\",\"playerMinutes\":30,"
      "\"peak\":3,\"colour\":\"#1f77b4\",\"segments\":[{\"from\":\"2026-12-07T23:50Z\",\"players\":[3]},"
      "{\"from\":\"2026-12-08T00:00Z\",\"players\":[3]}]}],\"note\":\"\"}\n"))
      << line;
}

TEST(ReadableOutput, PrintsOneSparklinePerLineDrawn) {
  std::ostringstream out;
  const ConsoleClock clock(true, kDec8);
  ReadableOutput(out, ConsoleIcons{}, clock).History(SmallChart());
  const std::string blanks(47, ' ');
  EXPECT_EQ(out.str(), "[    0.000] history: Players, last 24 hours (2026-12-07T00:05Z to 2026-12-08T00:05Z)\n"
                       "    All servers  " + blanks + "\u2587  peak 4\n"
                       "    Alpha \"A\"    " + blanks + "\u2585  peak 3\n");
}

}  // namespace
}  // namespace quorvex
