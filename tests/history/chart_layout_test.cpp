// The history window as both front ends draw it: where the buttons, the plot, the axes, the
// lines and the legend go for a font, and how the plot keeps a least size.
#include "history/chart_layout.h"

#include <gtest/gtest.h>

#include <vector>

#include "history/utc_time.h"

namespace quorvex {
namespace {

// Every character 7 pixels wide, a line 15 pixels high.
const TextMetrics kFont{[](const Text& text) { return 7.0 * static_cast<double>(text.size()); }, 15};
constexpr uint32_t kGrid = 0xe1e1e1, kMidnight = 0xa0a0a0, kBlack = 0x000000;

// Four buckets, 0 to 10 players: the total over buckets 0 and 1 and a dot at 3, one server
// with a dot at 0 and a name too long for the legend.
HistoryChart FourBuckets() {
  HistoryChart chart;
  chart.title = u"Players, last 24 hours";
  chart.startMs = 0;
  chart.endMs = 4 * kBucketMs;
  chart.playerTop = 10;
  chart.playerTicks = {{0, u"0"}, {10, u"10"}};
  chart.timeTicks = {{0, u"00:00", true}, {2 * kBucketMs, u"", false}};
  chart.series = {{u"All servers", true, {}, {}, 0, 10, 0x202020, {{0, {5, 10}}, {3 * kBucketMs, {0}}}},
                  {Text(40, u'x'), false, "127.0.0.1", "1", 0, 2, 0x1f77b4, {{0, {2}}}}};
  return chart;
}

TEST(ChartLayout, TheWindowsButtonsAndChartAreaInItsMargins) {
  const auto boxes = RangeButtonBoxes();
  EXPECT_EQ(boxes[0], (ChartRect{10, 10, 94, 36}));
  EXPECT_EQ(boxes[1], (ChartRect{100, 10, 184, 36}));
  EXPECT_EQ(boxes[2], (ChartRect{190, 10, 274, 36}));
  EXPECT_EQ(ChartAreaOf(820, 420), (ChartRect{10, 46, 810, 410}));
  EXPECT_EQ(kRangeButtons[1].range, ChartRange::Week);
  EXPECT_EQ(kRangeButtons[2].key, '3');
}

TEST(ChartLayout, AxesLinesAndLegendAroundThePlot) {
  const ChartDrawing drawing = LayOutChart(FourBuckets(), ChartAreaOf(820, 420), kFont);
  // Left: "000000" and a gap; top: the title and a gap; bottom: two lines and a gap; right:
  // the legend at its widest, 220, and two gaps.
  EXPECT_EQ(drawing.plot, (ChartRect{64, 73, 566, 368}));
  const std::vector<ChartStroke> strokes = {
      {{{64, 368}, {566, 368}}, kGrid, 1},  // 0 players
      {{{64, 73}, {566, 73}}, kGrid, 1},    // 10 players
      {{{64, 73}, {64, 368}}, kMidnight, 1},
      {{{315, 73}, {315, 368}}, kGrid, 1},
      {{{64, 73}, {566, 73}, {566, 368}, {64, 368}, {64, 73}}, kBlack, 1},
      // the server under the total; one bucket between gaps is a dot
      {{{64, 309}, {65, 309}}, 0x1f77b4, 2},
      {{{64, 220.5}, {189.5, 73}}, 0x202020, 3},
      {{{440.5, 368}, {441.5, 368}}, 0x202020, 3},
      // the legend, in the lines' widths
      {{{578, 80.5}, {594, 80.5}}, 0x202020, 3},
      {{{578, 99.5}, {594, 99.5}}, 0x1f77b4, 2},
  };
  EXPECT_EQ(drawing.strokes, strokes);
  const std::vector<ChartText> texts = {
      {u"Players, last 24 hours", {64, 50, 810, 65}, TextAlign::Left},
      {u"0", {10, 360.5, 58, 375.5}, TextAlign::Right},
      {u"10", {10, 65.5, 58, 80.5}, TextAlign::Right},
      {u"00:00", {4, 372, 124, 387}, TextAlign::Centre},
      {u"All servers", {600, 73, 800, 88}, TextAlign::Left, true},
      {Text(40, u'x'), {600, 92, 800, 107}, TextAlign::Left, true},
  };
  EXPECT_EQ(drawing.texts, texts);
  EXPECT_EQ(drawing.area, ChartAreaOf(820, 420));
  EXPECT_EQ(drawing.background, 0xffffffu);
  EXPECT_EQ(drawing.textColour, kBlack);
}

TEST(ChartLayout, ANoteInThePlotAndNothingWithoutARange) {
  HistoryChart chart = FourBuckets();
  chart.series.resize(1);
  chart.series[0].segments.clear();
  chart.note = u"No server list was read in this time.";
  const ChartDrawing noted = LayOutChart(chart, ChartAreaOf(820, 420), kFont);
  // The legend of "All servers" alone is narrower: 11 characters and 28.
  EXPECT_EQ(noted.plot, (ChartRect{64, 73, 681, 368}));
  EXPECT_EQ(noted.texts.back(), (ChartText{chart.note, noted.plot, TextAlign::Centre}));

  HistoryChart noTime = chart, noPlayers = chart;
  noTime.endMs = noTime.startMs;
  noPlayers.playerTop = 0;
  for (const HistoryChart& nothing : {noTime, noPlayers}) {
    const ChartDrawing empty = LayOutChart(nothing, ChartAreaOf(820, 420), kFont);
    EXPECT_TRUE(empty.strokes.empty());
    EXPECT_TRUE(empty.texts.empty());
    EXPECT_EQ(empty.area, ChartAreaOf(820, 420));
  }
}

TEST(ChartLayout, ThePlotKeepsItsLeastSizeInASmallWindow) {
  HistoryChart chart = FourBuckets();
  chart.series.resize(1);
  const ChartDrawing drawing = LayOutChart(chart, ChartAreaOf(150, 120), kFont);
  EXPECT_EQ(drawing.plot, (ChartRect{64, 73, 104, 113}));
}

}  // namespace
}  // namespace quorvex
