// The history window of the console: the chart model as one JSON line, or for people one
// sparkline per line drawn.
#include <cstdio>
#include <string>

#include "frontends/console/json.h"
#include "frontends/console/json_output.h"
#include "frontends/console/readable_output.h"
#include "history/sparkline.h"
#include "history/utc_time.h"

namespace quorvex {

namespace {

std::string Colour(uint32_t rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(rgb & 0xffffff));
  return text;
}

std::string Numbers(const std::vector<int64_t>& values) {
  std::string array = "[";
  for (const int64_t value : values) array += (array.size() > 1 ? "," : "") + std::to_string(value);
  return array + "]";
}

std::string SeriesJson(const ChartSeries& series) {
  JsonObject object;
  object.AddText("label", series.label).AddBool("total", series.total);
  if (!series.total) object.AddString("address", series.address).AddString("port", series.port);
  object.AddNumber("playerMinutes", series.playerMinutes).AddNumber("peak", series.peak);
  object.AddString("colour", Colour(series.colour));
  std::string segments = "[";
  for (const ChartSegment& segment : series.segments) {
    JsonObject entry;
    entry.AddString("from", FormatBucketTime(segment.fromMs)).AddRaw("players", Numbers(segment.players));
    segments += (segments.size() > 1 ? "," : "") + entry.Str();
  }
  return object.AddRaw("segments", segments + "]").Str();
}

std::string TimeTicksJson(const std::vector<TimeTick>& ticks) {
  std::string array = "[";
  for (const TimeTick& tick : ticks) {
    JsonObject entry;
    entry.AddString("time", FormatBucketTime(tick.atMs)).AddText("label", tick.label).AddBool("major", tick.major);
    array += (array.size() > 1 ? "," : "") + entry.Str();
  }
  return array + "]";
}

}  // namespace

void JsonOutput::History(const HistoryChart& chart) {
  std::vector<int64_t> playerTicks;
  for (const PlayerTick& tick : chart.playerTicks) playerTicks.push_back(tick.players);
  std::string series = "[";
  for (const ChartSeries& line : chart.series) series += (series.size() > 1 ? "," : "") + SeriesJson(line);
  JsonObject event;
  event.AddString("ev", "history").AddString("range", RangeName(chart.range)).AddText("title", chart.title);
  event.AddString("start", FormatBucketTime(chart.startMs)).AddString("end", FormatBucketTime(chart.endMs));
  event.AddNumber("playerTop", chart.playerTop).AddRaw("playerTicks", Numbers(playerTicks));
  event.AddRaw("timeTicks", TimeTicksJson(chart.timeTicks)).AddRaw("series", series + "]");
  event.AddText("note", chart.note);
  Emit(event.Str());
}

// Each line's label padded to the longest, its sparkline, and its peak.
void ReadableOutput::History(const HistoryChart& chart) {
  size_t width = 0;
  for (const ChartSeries& series : chart.series) width = std::max(width, series.label.size());
  Text text;
  for (const ChartSeries& series : chart.series) {
    text += series.label + Text(width - series.label.size() + 2, u' ') + Sparkline(chart, series) + u"  peak " +
            FromAscii(std::to_string(series.peak)) + u"\n";
  }
  if (!chart.note.empty()) text += chart.note + u"\n";
  text.pop_back();
  Print("history: " + ToUtf8(chart.title) + " (" + FormatBucketTime(chart.startMs) + " to " +
        FormatBucketTime(chart.endMs) + ")", text);
}

}  // namespace quorvex
