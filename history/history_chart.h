// The picture of the player history, computed once for every front end: the range, the axes
// with their ticks and labels, and the lines of the total and the five busiest servers, broken
// where no list was read. Front ends only map it to pixels and draw it.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/text.h"
#include "history/history_csv.h"

namespace quorvex {

enum class ChartRange { Day, Week, Month };  // the last 24 hours, 7 days, 30 days

// "24h", "7d", "30d".
std::string_view RangeName(ChartRange range);
std::optional<ChartRange> RangeNamed(std::string_view name);
int64_t RangeMs(ChartRange range);

// Minutes to add to a UTC instant for the local time at that instant (east of UTC positive).
using LocalOffset = std::function<int32_t(int64_t utcMs)>;

// A run of buckets that each had a list: players[k] belongs to the bucket starting at
// fromMs + k * 5 minutes.
struct ChartSegment {
  int64_t fromMs = 0;
  std::vector<int64_t> players;

  bool operator==(const ChartSegment&) const = default;
};

struct ChartSeries {
  Text label;           // "All servers", or the server's latest name (address:port without one)
  bool total = false;   // the total of every server
  std::string address;  // the server's (UTF-8); empty for the total
  std::string port;
  int64_t playerMinutes = 0;  // over the range
  int64_t peak = 0;           // the highest count drawn
  uint32_t colour = 0;        // 0xRRGGBB
  std::vector<ChartSegment> segments;  // a gap between two segments is a time without a list
};

struct TimeTick {
  int64_t atMs = 0;  // UTC
  Text label;        // local time; empty for a tick drawn without one
  bool major = false;  // local midnight

  bool operator==(const TimeTick&) const = default;
};

struct PlayerTick {
  int64_t players = 0;
  Text label;

  bool operator==(const PlayerTick&) const = default;
};

struct HistoryChart {
  ChartRange range = ChartRange::Day;
  Text title;             // "Players, last 24 hours"
  int64_t startMs = 0;    // the x axis, UTC: the range ending with the bucket of now
  int64_t endMs = 0;
  int64_t playerTop = 0;  // the y axis runs from 0 to this
  std::vector<TimeTick> timeTicks;
  std::vector<PlayerTick> playerTicks;
  std::vector<ChartSeries> series;  // the total first, then up to five servers, busiest first
  Text note;  // said in the plot area when there is nothing to draw; empty otherwise
};

// Where a time and a count go, as fractions of the plot area from its left and bottom edge.
double XFraction(const HistoryChart& chart, int64_t utcMs);
double YFraction(const HistoryChart& chart, int64_t players);
// The points of one segment as (x, y) fractions; the x of a bucket is its start.
std::vector<std::pair<double, double>> SegmentPoints(const HistoryChart& chart, const ChartSegment& segment);

// Gathers rows (in any order, duplicates taken at their highest) and makes the chart of the
// range that ends with the bucket of `nowMs`.
class HistoryChartBuilder {
 public:
  HistoryChartBuilder(ChartRange range, int64_t nowMs);
  int64_t StartMs() const { return startMs_; }
  int64_t EndMs() const { return endMs_; }
  // A row outside the range is passed over.
  void Add(const HistoryRowView& row);
  HistoryChart Build(const LocalOffset& localOffset) const;

 private:
  struct ServerRows {
    std::string address, port, name;
    int64_t nameBucket = -1;
    std::vector<std::pair<uint32_t, int64_t>> counts;  // bucket index, players
  };
  ChartSeries TotalSeries() const;
  ChartSeries ServerSeries(const ServerRows& server, int64_t playerMinutes) const;

  ChartRange range_;
  int64_t startMs_, endMs_;
  size_t buckets_;
  std::vector<int64_t> totals_;  // per bucket; -1 where no list was read
  std::unordered_map<std::string, ServerRows> servers_;
  std::string key_;  // reused, so a row of a known server makes no allocation
};

// Ticks of the time axis in local time: every hour for 24 hours (labelled every 3), every 6
// hours for 7 days (labelled at midnight), every day for 30 days (labelled on Mondays).
std::vector<TimeTick> TimeTicks(ChartRange range, int64_t startMs, int64_t endMs, const LocalOffset& localOffset);
// The top of the player axis (at least 5) and its ticks: 0 and steps of 1, 2 or 5 times a
// power of ten, at most 5 steps, the top one at or above `peak`.
std::vector<PlayerTick> PlayerTicks(int64_t peak);

}  // namespace quorvex
