#include "history/sparkline.h"

#include <algorithm>
#include <vector>

#include "history/utc_time.h"

namespace quorvex {

size_t SparklineColumns(ChartRange range) {
  switch (range) {
    case ChartRange::Day:
      return 48;
    case ChartRange::Week:
      return 56;
    case ChartRange::Month:
      return 60;
  }
  return 48;
}

Text Sparkline(const HistoryChart& chart, const ChartSeries& series) {
  const size_t columns = SparklineColumns(chart.range);
  const int64_t columnMs = (chart.endMs - chart.startMs) / static_cast<int64_t>(columns);
  std::vector<int64_t> highest(columns, -1);
  for (const ChartSegment& segment : series.segments) {
    for (size_t k = 0; k < segment.players.size(); ++k) {
      const int64_t at = segment.fromMs + static_cast<int64_t>(k) * kBucketMs - chart.startMs;
      const size_t column = std::min(columns - 1, static_cast<size_t>(at / columnMs));
      highest[column] = std::max(highest[column], segment.players[k]);
    }
  }
  Text line;
  for (const int64_t players : highest) {
    if (players < 0) {
      line += u' ';
      continue;
    }
    // 0 is the lowest block, the axis top the highest, the rest in eight even steps.
    const int64_t level = std::clamp<int64_t>(players * 8 / std::max<int64_t>(1, chart.playerTop), 0, 7);
    line += static_cast<char16_t>(u'\u2581' + level);
  }
  return line;
}

}  // namespace quorvex
