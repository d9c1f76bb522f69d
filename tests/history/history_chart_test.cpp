// The chart model: the lines with their gaps, the five busiest servers, the local time axis
// and the player axis, as every front end draws them.
#include "history/history_chart.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/sparkline.h"
#include "history/utc_time.h"

namespace quorvex {
namespace {

constexpr int64_t kDec8At0955 = 1796723700000;  // a Tuesday
const LocalOffset kUtc = [](int64_t) { return 0; };

HistoryRowView Row(int64_t at, std::string_view address, std::string_view name, int64_t players,
                   std::string_view port = "1") {
  return {at, address, port, name, players};
}
HistoryRowView Total(int64_t at, int64_t players) { return {at, "*", "0", "", players}; }

// The bucket `k` steps before the one of kDec8At0955.
int64_t Before(int k) { return kDec8At0955 - k * kBucketMs; }

TEST(HistoryChart, DrawsTheTotalAndEachServerWithAGapWhereNoListWasRead) {
  HistoryChartBuilder builder(ChartRange::Day, kDec8At0955 + 1000);
  EXPECT_EQ(builder.EndMs(), kDec8At0955 + kBucketMs);
  EXPECT_EQ(builder.StartMs(), kDec8At0955 + kBucketMs - kDayMs);
  // Lists at 09:35, 09:40, 09:50, 09:55; A played at 09:35 and 09:55, B at 09:40 only.
  for (const HistoryRowView& row :
       {Total(Before(4), 5), Row(Before(4), "a", "A", 5), Total(Before(3), 2), Row(Before(3), "b", "B", 2),
        Total(Before(1), 0), Total(Before(0), 9), Row(Before(0), "a", "A", 9),
        Row(Before(2), "a", "A", 50),                       // no list then: a row without its total is not drawn
        Total(builder.StartMs() - kBucketMs, 70),           // before the range
        Total(builder.EndMs(), 80)})                        // after it (a clock set back)
    builder.Add(row);
  const HistoryChart chart = builder.Build(kUtc);
  ASSERT_EQ(chart.series.size(), 3u);
  EXPECT_EQ(chart.series[0].label, u"All servers");
  EXPECT_TRUE(chart.series[0].total);
  EXPECT_EQ(chart.series[0].segments, (std::vector<ChartSegment>{{Before(4), {5, 2}}, {Before(1), {0, 9}}}));
  EXPECT_EQ(chart.series[0].playerMinutes, 16 * 5);
  EXPECT_EQ(chart.series[1].label, u"A");
  EXPECT_EQ(chart.series[1].segments, (std::vector<ChartSegment>{{Before(4), {5, 0}}, {Before(1), {0, 9}}}));
  EXPECT_EQ(chart.series[1].playerMinutes, 14 * 5);
  EXPECT_EQ(chart.series[2].segments, (std::vector<ChartSegment>{{Before(4), {0, 2}}, {Before(1), {0, 0}}}));
  EXPECT_EQ(chart.series[0].peak, 9);
  EXPECT_EQ(chart.playerTop, 10);
  EXPECT_TRUE(chart.note.empty());
  EXPECT_EQ(chart.title, u"Players, last 24 hours");
  // Without a list in the range: the total alone, no segment, and a note that says so.
  const HistoryChart none = HistoryChartBuilder(ChartRange::Month, kDec8At0955).Build(kUtc);
  ASSERT_EQ(none.series.size(), 1u);
  EXPECT_TRUE(none.series[0].segments.empty());
  EXPECT_EQ(none.note, u"No server list was read in this time.");
  EXPECT_EQ(none.playerTop, 5);
  EXPECT_EQ(none.endMs - none.startMs, 30 * kDayMs);
}

// The five with the most player-minutes, busiest first, a tie by address and port; each
// named by its latest row (or its address and port without a name), a duplicate row counted once.
TEST(HistoryChart, DrawsTheFiveServersWithTheMostPlayerMinutesNamedByTheirLatestRow) {
  HistoryChartBuilder builder(ChartRange::Week, kDec8At0955);
  for (int k = 0; k < 10; ++k) builder.Add(Total(Before(k), 100));
  const struct {
    std::string_view address, port, name;
    int buckets;
    int64_t players;
  } servers[] = {{"f", "1", "Six", 1, 1},   {"e", "1", "Five", 1, 2}, {"a", "2", "Tie b", 2, 3},
                 {"a", "1", "Tie a", 3, 2}, {"c", "1", "", 1, 8},     {"d", "1", "Busy", 5, 9}};
  for (const auto& server : servers)
    for (int k = 0; k < server.buckets; ++k) builder.Add(Row(Before(k), server.address, server.name, server.players, server.port));
  builder.Add(Row(Before(0), "d", "Busy", 9));           // the same row again
  builder.Add(Row(Before(1), "d", "Busy", 1));           // a lower duplicate, out of order
  builder.Add(Row(Before(9), "d", "Busy long ago", 1));  // an older name read later
  builder.Add(Row(Before(0), "e", "Five renamed", 1));   // a later name with a lower count
  const HistoryChart chart = builder.Build(kUtc);
  std::vector<std::pair<Text, int64_t>> drawn;
  for (const ChartSeries& series : chart.series) drawn.emplace_back(series.label, series.playerMinutes);
  EXPECT_EQ(drawn, (std::vector<std::pair<Text, int64_t>>{
                       {u"All servers", 5000}, {u"Busy", 230}, {u"c:1", 40}, {u"Tie a", 30}, {u"Tie b", 30},
                       {u"Five renamed", 10}}));
  EXPECT_EQ(chart.series[1].address, "d");
  EXPECT_EQ(chart.series[3].port, "1");
  EXPECT_NE(chart.series[1].colour, chart.series[2].colour);
}

// The labelled ticks as "time label", a "*" after a local midnight's.
std::vector<std::string> Labelled(const std::vector<TimeTick>& ticks) {
  std::vector<std::string> labelled;
  for (const TimeTick& tick : ticks)
    if (!tick.label.empty()) labelled.push_back(FormatBucketTime(tick.atMs) + " " + ToUtf8(tick.label) + (tick.major ? "*" : ""));
  return labelled;
}

// Central European time with its summer time ending on 2026-10-25 at 01:00Z.
int32_t Berlin(int64_t utcMs) { return utcMs < 1792890000000 ? 120 : 60; }

TEST(TimeTicks, FallOnLocalHoursAndDaysWhateverTheOffsetAndAcrossADaylightSavingChange) {
  const int64_t oct28At1200 = 1793188800000;
  const struct {
    ChartRange range;
    int64_t now;
    LocalOffset offset;
    size_t ticks;
    std::vector<std::string> labelled;
  } cases[] = {
      {ChartRange::Day, kDec8At0955, kUtc, 25,
       {"2026-12-07T12:00Z 12:00", "2026-12-07T15:00Z 15:00", "2026-12-07T18:00Z 18:00", "2026-12-07T21:00Z 21:00",
        "2026-12-08T00:00Z Tue 8*", "2026-12-08T03:00Z 03:00", "2026-12-08T06:00Z 06:00", "2026-12-08T09:00Z 09:00"}},
      {ChartRange::Day, kDec8At0955, [](int64_t) { return 60; }, 25,
       {"2026-12-07T11:00Z 12:00", "2026-12-07T14:00Z 15:00", "2026-12-07T17:00Z 18:00", "2026-12-07T20:00Z 21:00",
        "2026-12-07T23:00Z Tue 8*", "2026-12-08T02:00Z 03:00", "2026-12-08T05:00Z 06:00", "2026-12-08T08:00Z 09:00"}},
      {ChartRange::Day, kDec8At0955, [](int64_t) { return 330; }, 24,
       {"2026-12-07T12:30Z 18:00", "2026-12-07T15:30Z 21:00", "2026-12-07T18:30Z Tue 8*", "2026-12-07T21:30Z 03:00",
        "2026-12-08T00:30Z 06:00", "2026-12-08T03:30Z 09:00", "2026-12-08T06:30Z 12:00", "2026-12-08T09:30Z 15:00"}},
      {ChartRange::Day, kDec8At0955, [](int64_t) { return -300; }, 25,
       {"2026-12-07T11:00Z 06:00", "2026-12-07T14:00Z 09:00", "2026-12-07T17:00Z 12:00", "2026-12-07T20:00Z 15:00",
        "2026-12-07T23:00Z 18:00", "2026-12-08T02:00Z 21:00", "2026-12-08T05:00Z Tue 8*", "2026-12-08T08:00Z 03:00"}},
      {ChartRange::Week, oct28At1200, Berlin, 28,
       {"2026-10-21T22:00Z Thu 22*", "2026-10-22T22:00Z Fri 23*", "2026-10-23T22:00Z Sat 24*",
        "2026-10-24T22:00Z Sun 25*", "2026-10-25T23:00Z Mon 26*", "2026-10-26T23:00Z Tue 27*",
        "2026-10-27T23:00Z Wed 28*"}},
      {ChartRange::Month, kDec8At0955, kUtc, 30,
       {"2026-11-09T00:00Z 9 Nov*", "2026-11-16T00:00Z 16 Nov*", "2026-11-23T00:00Z 23 Nov*",
        "2026-11-30T00:00Z 30 Nov*", "2026-12-07T00:00Z 7 Dec*"}},
  };
  for (const auto& [range, now, offset, count, labelled] : cases) {
    const HistoryChart chart = HistoryChartBuilder(range, now).Build(offset);
    EXPECT_EQ(chart.timeTicks.size(), count) << RangeName(range) << " at offset " << offset(now);
    EXPECT_EQ(Labelled(chart.timeTicks), labelled) << RangeName(range) << " at offset " << offset(now);
    for (size_t i = 1; i < chart.timeTicks.size(); ++i) EXPECT_LT(chart.timeTicks[i - 1].atMs, chart.timeTicks[i].atMs);
    for (const TimeTick& tick : chart.timeTicks) EXPECT_TRUE(tick.atMs >= chart.startMs && tick.atMs <= chart.endMs);
  }
  // Around Berlin's change the 6-hour ticks stay on the local clock: 00:00, 06:00, 12:00, 18:00.
  std::vector<std::string> oct25;
  for (const TimeTick& tick : HistoryChartBuilder(ChartRange::Week, oct28At1200).Build(Berlin).timeTicks)
    if (const std::string at = FormatBucketTime(tick.atMs); at >= "2026-10-24T20:00Z" && at <= "2026-10-25T23:00Z")
      oct25.push_back(at);
  EXPECT_EQ(oct25, (std::vector<std::string>{"2026-10-24T22:00Z", "2026-10-25T05:00Z", "2026-10-25T11:00Z",
                                             "2026-10-25T17:00Z", "2026-10-25T23:00Z"}));
}

TEST(PlayerTicks, StartAtZeroAndStepByOneTwoOrFiveTimesAPowerOfTen) {
  const std::pair<int64_t, std::vector<int64_t>> cases[] = {
      {0, {0, 1, 2, 3, 4, 5}},       {5, {0, 1, 2, 3, 4, 5}},         {6, {0, 2, 4, 6}},
      {10, {0, 2, 4, 6, 8, 10}},     {11, {0, 5, 10, 15}},            {25, {0, 5, 10, 15, 20, 25}},
      {26, {0, 10, 20, 30}},         {51, {0, 20, 40, 60}},           {100, {0, 20, 40, 60, 80, 100}},
      {101, {0, 50, 100, 150}},      {999, {0, 200, 400, 600, 800, 1000}},
      {123456, {0, 50000, 100000, 150000}},
  };
  for (const auto& [peak, values] : cases) {
    std::vector<int64_t> ticks;
    for (const PlayerTick& tick : PlayerTicks(peak)) {
      ticks.push_back(tick.players);
      EXPECT_EQ(tick.label, FromAscii(std::to_string(tick.players)));
    }
    EXPECT_EQ(ticks, values) << peak;
  }
}

TEST(HistoryChart, PlacesPointsAsFractionsOfThePlotArea) {
  HistoryChart chart;
  chart.startMs = 1000 * kBucketMs;
  chart.endMs = 1004 * kBucketMs;
  chart.playerTop = 40;
  EXPECT_EQ(XFraction(chart, chart.startMs), 0.0);
  EXPECT_EQ(XFraction(chart, chart.endMs), 1.0);
  EXPECT_EQ(YFraction(chart, 10), 0.25);
  EXPECT_EQ(SegmentPoints(chart, {1001 * kBucketMs, {40, 0, 20}}),
            (std::vector<std::pair<double, double>>{{0.25, 1.0}, {0.5, 0.0}, {0.75, 0.5}}));
}

// 24 hours in 48 columns of half an hour (six buckets): the highest of each column on the
// eight blocks, a blank where no bucket had a list.
TEST(Sparkline, ShowsEachColumnsHighestCountAndBlanksForTimesWithoutAList) {
  HistoryChart chart;
  chart.range = ChartRange::Day;
  chart.startMs = 0;
  chart.endMs = kDayMs;
  chart.playerTop = 80;
  const ChartSeries series{u"A", false, "a", "1", 0, 80, 0,
                           {{0, {0, 0, 0, 0, 0, 0, 9, 10, 19, 20}},
                            {24 * kBucketMs, {79, 80}},
                            {kDayMs - kBucketMs, {40}}}};
  const Text line = Sparkline(chart, series);
  ASSERT_EQ(line.size(), 48u);
  EXPECT_EQ(line.substr(0, 5), u"\u2581\u2583  \u2588");  // 0; 20; no list twice; 80
  EXPECT_EQ(line[47], u'\u2585');
  EXPECT_EQ(line.substr(5, 42), Text(42, u' '));
  EXPECT_EQ(SparklineColumns(ChartRange::Week), 56u);
  EXPECT_EQ(SparklineColumns(ChartRange::Month), 60u);
}

}  // namespace
}  // namespace quorvex
