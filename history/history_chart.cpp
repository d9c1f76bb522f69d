#include "history/history_chart.h"

#include <algorithm>
#include <tuple>

#include "history/utc_time.h"

namespace quorvex {

namespace {

constexpr size_t kServersDrawn = 5;
constexpr uint32_t kTotalColour = 0x202020;
constexpr uint32_t kServerColours[kServersDrawn] = {0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e, 0x9467bd};

Text TitleOf(ChartRange range) {
  switch (range) {
    case ChartRange::Day:
      return u"Players, last 24 hours";
    case ChartRange::Week:
      return u"Players, last 7 days";
    case ChartRange::Month:
      return u"Players, last 30 days";
  }
  return {};
}

// The segments of `values` (one per bucket, -1 for none) from `startMs`.
std::vector<ChartSegment> Segments(const std::vector<int64_t>& values, int64_t startMs) {
  std::vector<ChartSegment> segments;
  bool open = false;
  for (size_t k = 0; k < values.size(); ++k) {
    if (values[k] < 0) {
      open = false;
      continue;
    }
    if (!open) segments.push_back({startMs + static_cast<int64_t>(k) * kBucketMs, {}});
    segments.back().players.push_back(values[k]);
    open = true;
  }
  return segments;
}

using BucketCounts = std::vector<std::pair<uint32_t, int64_t>>;

// One count per bucket, the highest, in bucket order. Rows come in file order, which is time
// order unless the clock was set back or the files were edited, so a sort is seldom needed.
BucketCounts HighestPerBucket(const BucketCounts& counts) {
  BucketCounts sorted = counts;
  if (!std::is_sorted(sorted.begin(), sorted.end())) std::sort(sorted.begin(), sorted.end());
  BucketCounts highest;
  highest.reserve(sorted.size());
  for (const auto& [bucket, players] : sorted) {
    if (!highest.empty() && highest.back().first == bucket) {
      highest.back().second = std::max(highest.back().second, players);
    } else {
      highest.emplace_back(bucket, players);
    }
  }
  return highest;
}

int64_t Peak(const std::vector<int64_t>& values) {
  return std::max<int64_t>(0, values.empty() ? 0 : *std::max_element(values.begin(), values.end()));
}

}  // namespace

std::string_view RangeName(ChartRange range) {
  switch (range) {
    case ChartRange::Day:
      return "24h";
    case ChartRange::Week:
      return "7d";
    case ChartRange::Month:
      return "30d";
  }
  return {};
}

std::optional<ChartRange> RangeNamed(std::string_view name) {
  for (ChartRange range : {ChartRange::Day, ChartRange::Week, ChartRange::Month})
    if (RangeName(range) == name) return range;
  return std::nullopt;
}

int64_t RangeMs(ChartRange range) {
  switch (range) {
    case ChartRange::Day:
      return kDayMs;
    case ChartRange::Week:
      return 7 * kDayMs;
    case ChartRange::Month:
      return 30 * kDayMs;
  }
  return kDayMs;
}

double XFraction(const HistoryChart& chart, int64_t utcMs) {
  return static_cast<double>(utcMs - chart.startMs) / static_cast<double>(chart.endMs - chart.startMs);
}

double YFraction(const HistoryChart& chart, int64_t players) {
  return static_cast<double>(players) / static_cast<double>(chart.playerTop);
}

std::vector<std::pair<double, double>> SegmentPoints(const HistoryChart& chart, const ChartSegment& segment) {
  std::vector<std::pair<double, double>> points;
  points.reserve(segment.players.size());
  for (size_t k = 0; k < segment.players.size(); ++k)
    points.emplace_back(XFraction(chart, segment.fromMs + static_cast<int64_t>(k) * kBucketMs),
                        YFraction(chart, segment.players[k]));
  return points;
}

HistoryChartBuilder::HistoryChartBuilder(ChartRange range, int64_t nowMs)
    : range_(range),
      startMs_(BucketStart(nowMs) + kBucketMs - RangeMs(range)),
      endMs_(BucketStart(nowMs) + kBucketMs),
      buckets_(static_cast<size_t>(RangeMs(range) / kBucketMs)),
      totals_(buckets_, -1) {}

void HistoryChartBuilder::Add(const HistoryRowView& row) {
  if (row.bucketMs < startMs_ || row.bucketMs >= endMs_) return;
  const auto bucket = static_cast<uint32_t>((row.bucketMs - startMs_) / kBucketMs);
  if (row.IsTotal()) {
    totals_[bucket] = std::max(totals_[bucket], row.players);
    return;
  }
  key_ = std::to_string(row.address.size());
  key_ += ':';
  key_.append(row.address).append(row.port);
  auto found = servers_.find(key_);
  if (found == servers_.end()) {
    found = servers_.emplace(key_, ServerRows{}).first;
    found->second.address = row.address;
    found->second.port = row.port;
  }
  ServerRows& server = found->second;
  if (static_cast<int64_t>(bucket) >= server.nameBucket) {  // the latest row's name, a later line winning a tie
    server.nameBucket = bucket;
    if (server.name != row.name) server.name = row.name;
  }
  server.counts.emplace_back(bucket, row.players);
}

ChartSeries HistoryChartBuilder::TotalSeries() const {
  ChartSeries total{u"All servers", true, {}, {}, 0, Peak(totals_), kTotalColour, Segments(totals_, startMs_)};
  for (const int64_t players : totals_) total.playerMinutes += std::max<int64_t>(0, players) * 5;
  return total;
}

// A server had no players in a bucket with a list but without its row; in a bucket without
// a list it has a gap like the total.
ChartSeries HistoryChartBuilder::ServerSeries(const ServerRows& server, int64_t playerMinutes) const {
  std::vector<int64_t> values(buckets_);
  for (size_t k = 0; k < buckets_; ++k) values[k] = totals_[k] < 0 ? -1 : 0;
  for (const auto& [bucket, players] : server.counts)
    if (values[bucket] >= 0) values[bucket] = std::max(values[bucket], players);
  Text label = FromUtf8(server.name);
  if (label.empty()) label = FromUtf8(server.address + ":" + server.port);
  return {label, false, server.address, server.port, playerMinutes, Peak(values), 0, Segments(values, startMs_)};
}

HistoryChart HistoryChartBuilder::Build(const LocalOffset& localOffset) const {
  HistoryChart chart;
  chart.range = range_;
  chart.title = TitleOf(range_);
  chart.startMs = startMs_;
  chart.endMs = endMs_;
  chart.series.push_back(TotalSeries());

  // Player-minutes count a bucket once, at its highest row, and only where a list was read.
  std::vector<std::pair<int64_t, const ServerRows*>> ranked;
  for (const auto& [key, server] : servers_) {
    int64_t minutes = 0;
    for (const auto& [bucket, players] : HighestPerBucket(server.counts))
      if (totals_[bucket] >= 0) minutes += players * 5;
    if (minutes > 0) ranked.emplace_back(minutes, &server);
  }
  std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first > b.first;
    return std::tie(a.second->address, a.second->port) < std::tie(b.second->address, b.second->port);
  });
  if (ranked.size() > kServersDrawn) ranked.resize(kServersDrawn);
  for (size_t i = 0; i < ranked.size(); ++i) {
    chart.series.push_back(ServerSeries(*ranked[i].second, ranked[i].first));
    chart.series.back().colour = kServerColours[i];
  }

  int64_t peak = 0;
  for (const ChartSeries& series : chart.series) peak = std::max(peak, series.peak);
  chart.playerTicks = PlayerTicks(peak);
  chart.playerTop = chart.playerTicks.back().players;
  chart.timeTicks = TimeTicks(range_, startMs_, endMs_, localOffset);
  if (chart.series.front().segments.empty()) chart.note = u"No server list was read in this time.";
  return chart;
}

}  // namespace quorvex
