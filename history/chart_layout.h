// The history window laid out once for every front end: its size, caption, range buttons and
// their keys, its refresh, and the chart as rectangles, strokes and texts in pixels. A front
// end measures text with its own font, then only draws what it is given.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "common/text.h"
#include "history/history_chart.h"

namespace quorvex {

// The window's client area on opening (the title bar and frame come on top of it).
inline constexpr int kHistoryClientWidth = 820;
inline constexpr int kHistoryClientHeight = 420;
inline constexpr char16_t kHistoryCaption[] = u"Quorvex \u2013 History";
// While shown the chart is read anew this often: the open bucket grows with each poll.
inline constexpr int kHistoryRefreshMs = 60'000;

// The buttons over the chart, left to right; the key of each chooses it too.
struct RangeButton {
  ChartRange range;
  const char16_t* caption;
  char key;
};
inline constexpr std::array<RangeButton, 3> kRangeButtons = {{
    {ChartRange::Day, u"24 hours", '1'},
    {ChartRange::Week, u"7 days", '2'},
    {ChartRange::Month, u"30 days", '3'},
}};

struct ChartPoint {
  double x = 0, y = 0;
  bool operator==(const ChartPoint&) const = default;
};

struct ChartRect {
  double left = 0, top = 0, right = 0, bottom = 0;
  double Width() const { return right - left; }
  double Height() const { return bottom - top; }
  bool operator==(const ChartRect&) const = default;
};

// A line through the points, solid, `width` pixels wide.
struct ChartStroke {
  std::vector<ChartPoint> points;
  uint32_t colour = 0;  // 0xRRGGBB
  int width = 1;
  bool operator==(const ChartStroke&) const = default;
};

enum class TextAlign { Left, Centre, Right };

// One line of text in its box, centred from top to bottom; an elided text that does not fit
// ends in "…".
struct ChartText {
  Text text;
  ChartRect box;
  TextAlign align = TextAlign::Left;
  bool elide = false;
  bool operator==(const ChartText&) const = default;
};

// The chart area filled with `background`, then the strokes in order (the last on top), then
// the texts, all in `textColour`.
struct ChartDrawing {
  ChartRect area;
  ChartRect plot;  // the frame the lines are drawn in
  uint32_t background = 0xffffff;
  uint32_t textColour = 0x000000;
  std::vector<ChartStroke> strokes;
  std::vector<ChartText> texts;
};

// The front end's font: the width of a text, and the height of a line.
struct TextMetrics {
  std::function<double(const Text&)> width;
  double lineHeight = 0;
};

// Where the range buttons go in the client area, in the order of kRangeButtons.
std::array<ChartRect, kRangeButtons.size()> RangeButtonBoxes();
// Where the chart goes in a client area of that size: below the buttons, within a margin.
ChartRect ChartAreaOf(double clientWidth, double clientHeight);
// The chart drawn into `area`: the title, the player axis on the left, the time axis below,
// the lines, and their legend on the right. A chart without a range is the empty area.
ChartDrawing LayOutChart(const HistoryChart& chart, const ChartRect& area, const TextMetrics& metrics);

}  // namespace quorvex
