// A series of the history chart as one line of text: a block character per column of time.
#pragma once
#include <cstddef>

#include "history/history_chart.h"

namespace quorvex {

// The columns a sparkline of the range has: 48 of 30 minutes, 56 of 3 hours, 60 of 12 hours.
size_t SparklineColumns(ChartRange range);

// One character per column: the highest count of the column's buckets on the chart's player
// axis as one of the eight blocks U+2581..U+2588 (the lowest for 0 players), a blank where no
// bucket of the column had a list.
Text Sparkline(const HistoryChart& chart, const ChartSeries& series);

}  // namespace quorvex
