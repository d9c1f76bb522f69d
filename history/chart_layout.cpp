#include "history/chart_layout.h"

#include <algorithm>

namespace quorvex {

namespace {

constexpr double kMargin = 10;
constexpr double kButtonWidth = 84, kButtonHeight = 26, kButtonGap = 6;
constexpr double kGap = 12;         // between the plot and its labels and legend
constexpr double kLabelGap = 6;     // between a player label and the plot, and a time label
constexpr double kLegendMax = 220;  // the widest a legend gets, its stroke included
constexpr double kLegendStroke = 16, kLegendText = 22;  // from the legend's left edge
constexpr double kPlotMinimum = 40;  // the plot's least width and height, however small the window
constexpr double kTimeLabelHalfWidth = 60;
constexpr uint32_t kGridColour = 0xe1e1e1, kMidnightColour = 0xa0a0a0, kFrameColour = 0x000000;
constexpr int kTotalWidth = 3, kServerWidth = 2;  // whole pixels: what GDI pens can draw

ChartPoint PointAt(const ChartRect& plot, double x, double y) {
  return {plot.left + x * plot.Width(), plot.bottom - y * plot.Height()};
}

double LegendWidth(const HistoryChart& chart, const TextMetrics& metrics) {
  double width = 0;
  for (const ChartSeries& series : chart.series)
    width = std::max(width, std::min(kLegendMax, metrics.width(series.label) + kLegendText + kLabelGap));
  return width;
}

// Room for the player labels on the left, the title above, the time labels below and the
// legend on the right.
ChartRect PlotIn(const ChartRect& area, const TextMetrics& metrics, double legendWidth) {
  const double left = area.left + metrics.width(u"000000") + kGap;
  const double top = area.top + metrics.lineHeight + kGap;
  return {left, top, std::max(left + kPlotMinimum, area.right - legendWidth - 2 * kGap),
          std::max(top + kPlotMinimum, area.bottom - 2 * metrics.lineHeight - kGap)};
}

void AddAxes(const HistoryChart& chart, const TextMetrics& metrics, ChartDrawing& drawing) {
  const ChartRect& plot = drawing.plot;
  const double line = metrics.lineHeight;
  for (const PlayerTick& tick : chart.playerTicks) {
    const ChartPoint at = PointAt(plot, 0, YFraction(chart, tick.players));
    drawing.strokes.push_back({{at, {plot.right, at.y}}, kGridColour, 1});
    drawing.texts.push_back(
        {tick.label, {drawing.area.left, at.y - line / 2, plot.left - kLabelGap, at.y + line / 2}, TextAlign::Right});
  }
  for (const TimeTick& tick : chart.timeTicks) {
    const ChartPoint at = PointAt(plot, XFraction(chart, tick.atMs), 0);
    drawing.strokes.push_back({{{at.x, plot.top}, at}, tick.major ? kMidnightColour : kGridColour, 1});
    if (tick.label.empty()) continue;
    const double top = plot.bottom + 4;
    drawing.texts.push_back(
        {tick.label, {at.x - kTimeLabelHalfWidth, top, at.x + kTimeLabelHalfWidth, top + line}, TextAlign::Centre});
  }
  drawing.strokes.push_back({{{plot.left, plot.top}, {plot.right, plot.top}, {plot.right, plot.bottom},
                              {plot.left, plot.bottom}, {plot.left, plot.top}},
                             kFrameColour, 1});
}

// The busiest server's line last, so it lies on top; one bucket between gaps is a dot.
void AddLines(const HistoryChart& chart, ChartDrawing& drawing) {
  for (auto series = chart.series.rbegin(); series != chart.series.rend(); ++series) {
    for (const ChartSegment& segment : series->segments) {
      ChartStroke stroke{{}, series->colour, series->total ? kTotalWidth : kServerWidth};
      for (const auto& [x, y] : SegmentPoints(chart, segment)) stroke.points.push_back(PointAt(drawing.plot, x, y));
      if (stroke.points.size() == 1) stroke.points.push_back({stroke.points[0].x + 1, stroke.points[0].y});
      drawing.strokes.push_back(std::move(stroke));
    }
  }
}

// A stroke of each line's colour and width and its label, top to bottom beside the plot.
void AddLegend(const HistoryChart& chart, const TextMetrics& metrics, ChartDrawing& drawing) {
  const double left = drawing.plot.right + kGap;
  const double line = metrics.lineHeight;
  double top = drawing.plot.top;
  for (const ChartSeries& series : chart.series) {
    drawing.strokes.push_back({{{left, top + line / 2}, {left + kLegendStroke, top + line / 2}},
                               series.colour,
                               series.total ? kTotalWidth : kServerWidth});
    drawing.texts.push_back(
        {series.label, {left + kLegendText, top, drawing.area.right - kMargin, top + line}, TextAlign::Left, true});
    top += line + 4;
  }
}

}  // namespace

std::array<ChartRect, kRangeButtons.size()> RangeButtonBoxes() {
  std::array<ChartRect, kRangeButtons.size()> boxes;
  for (size_t i = 0; i < boxes.size(); ++i) {
    const double left = kMargin + static_cast<double>(i) * (kButtonWidth + kButtonGap);
    boxes[i] = {left, kMargin, left + kButtonWidth, kMargin + kButtonHeight};
  }
  return boxes;
}

ChartRect ChartAreaOf(double clientWidth, double clientHeight) {
  return {kMargin, 2 * kMargin + kButtonHeight, clientWidth - kMargin, clientHeight - kMargin};
}

ChartDrawing LayOutChart(const HistoryChart& chart, const ChartRect& area, const TextMetrics& metrics) {
  ChartDrawing drawing;
  drawing.area = area;
  if (chart.endMs <= chart.startMs || chart.playerTop <= 0) return drawing;
  drawing.plot = PlotIn(area, metrics, LegendWidth(chart, metrics));
  const ChartRect& plot = drawing.plot;
  drawing.texts.push_back(
      {chart.title, {plot.left, area.top + 4, area.right, area.top + 4 + metrics.lineHeight}, TextAlign::Left});
  AddAxes(chart, metrics, drawing);
  AddLines(chart, drawing);
  AddLegend(chart, metrics, drawing);
  if (!chart.note.empty()) drawing.texts.push_back({chart.note, plot, TextAlign::Centre});
  return drawing;
}

}  // namespace quorvex
