#include "frontends/qt/history_window.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "frontends/qt/dispatch.h"

namespace quorvex {

namespace {

constexpr int kRefreshMs = 60'000;
constexpr ChartRange kRanges[] = {ChartRange::Day, ChartRange::Week, ChartRange::Month};
const char* const kRangeCaptions[] = {"24 hours", "7 days", "30 days"};

QString ToQString(const Text& text) { return QString::fromStdU16String(text); }
QColor ColourOf(uint32_t rgb) { return QColor::fromRgb(rgb); }

// Room for the player labels on the left, the time labels below and the legend on the right.
QRectF PlotArea(const QRect& widget, const QFontMetrics& metrics, int legendWidth) {
  const int left = metrics.horizontalAdvance("000000") + 12;
  const int top = metrics.height() + 12;
  const int bottom = metrics.height() * 2 + 12;
  return QRectF(left, top, std::max(40, widget.width() - left - legendWidth - 24),
                std::max(40, widget.height() - top - bottom));
}

QPointF PointAt(const QRectF& plot, double x, double y) {
  return {plot.left() + x * plot.width(), plot.bottom() - y * plot.height()};
}

}  // namespace

void HistoryChartView::SetChart(HistoryChart chart) {
  chart_ = std::move(chart);
  update();
}

void HistoryChartView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), palette().base());
  const QFontMetrics metrics = painter.fontMetrics();
  int legendWidth = 0;
  for (const ChartSeries& series : chart_.series)
    legendWidth = std::max(legendWidth, std::min(220, metrics.horizontalAdvance(ToQString(series.label)) + 28));
  const QRectF plot = PlotArea(rect(), metrics, legendWidth);
  if (chart_.endMs <= chart_.startMs || chart_.playerTop <= 0) return;
  const QColor text = palette().color(QPalette::Text);

  painter.setPen(text);
  painter.drawText(QRectF(plot.left(), 4, plot.width(), metrics.height()), Qt::AlignLeft, ToQString(chart_.title));

  // Player ticks: a light line across the plot and the count to its left.
  for (const PlayerTick& tick : chart_.playerTicks) {
    const QPointF at = PointAt(plot, 0, YFraction(chart_, tick.players));
    painter.setPen(QPen(QColor(0, 0, 0, 40), 1));
    painter.drawLine(at, QPointF(plot.right(), at.y()));
    painter.setPen(text);
    painter.drawText(QRectF(0, at.y() - metrics.height() / 2.0, plot.left() - 6, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, ToQString(tick.label));
  }
  // Time ticks: a line down the plot, darker at local midnight, and their labels below.
  for (const TimeTick& tick : chart_.timeTicks) {
    const QPointF at = PointAt(plot, XFraction(chart_, tick.atMs), 0);
    painter.setPen(QPen(QColor(0, 0, 0, tick.major ? 90 : 30), 1));
    painter.drawLine(QPointF(at.x(), plot.top()), at);
    if (tick.label.empty()) continue;
    painter.setPen(text);
    const QString label = ToQString(tick.label);
    const int width = metrics.horizontalAdvance(label);
    painter.drawText(QRectF(at.x() - width / 2.0, plot.bottom() + 4, width, metrics.height()), Qt::AlignCenter, label);
  }
  painter.setPen(QPen(text, 1));
  painter.drawRect(plot);

  // The lines, the busiest server last so it lies on top, the total thicker.
  for (auto series = chart_.series.rbegin(); series != chart_.series.rend(); ++series) {
    painter.setPen(QPen(ColourOf(series->colour), series->total ? 2.5 : 1.5));
    for (const ChartSegment& segment : series->segments) {
      QPolygonF line;
      for (const auto& [x, y] : SegmentPoints(chart_, segment)) line << PointAt(plot, x, y);
      if (line.size() == 1) {
        painter.drawEllipse(line.front(), 1.5, 1.5);  // one bucket between gaps
      } else {
        painter.drawPolyline(line);
      }
    }
  }

  // The legend: a stroke of each line's colour and its label.
  double y = plot.top();
  for (const ChartSeries& series : chart_.series) {
    const double x = plot.right() + 12;
    painter.setPen(QPen(ColourOf(series.colour), series.total ? 2.5 : 1.5));
    painter.drawLine(QPointF(x, y + metrics.height() / 2.0), QPointF(x + 16, y + metrics.height() / 2.0));
    painter.setPen(text);
    painter.drawText(QRectF(x + 22, y, legendWidth - 22, metrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(ToQString(series.label), Qt::ElideRight, legendWidth - 22));
    y += metrics.height() + 4;
  }
  if (!chart_.note.empty()) painter.drawText(plot, Qt::AlignCenter, ToQString(chart_.note));
}

HistoryWindow::HistoryWindow(Form1& form) : form_(form), view_(new HistoryChartView(this)) {
  setWindowTitle("Quorvex \u2013 History");
  resize(820, 420);
  auto* buttons = new QHBoxLayout;
  for (size_t i = 0; i < std::size(kRanges); ++i) {
    auto* button = new QPushButton(kRangeCaptions[i], this);
    button->setCheckable(true);
    button->setToolTip(QString("Key %1").arg(i + 1));
    button->setChecked(kRanges[i] == range_);
    ranges_.addButton(button, static_cast<int>(i));
    buttons->addWidget(button);
  }
  buttons->addStretch();
  QObject::connect(&ranges_, &QButtonGroup::idClicked, this, [this](int id) { ShowRange(kRanges[id]); });
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(view_, 1);
  refresh_.setInterval(kRefreshMs);
  QObject::connect(&refresh_, &QTimer::timeout, this, [this] {
    if (isVisible()) Refresh();
  });
  refresh_.start();
}

void HistoryWindow::ShowOrRaise() {
  Refresh();
  show();
  raise();
  activateWindow();  // the user chose it from the popup: the window may take the focus
}

void HistoryWindow::keyPressEvent(QKeyEvent* event) {
  const int index = event->key() - Qt::Key_1;
  if (index >= 0 && index < static_cast<int>(std::size(kRanges))) {
    ranges_.button(index)->setChecked(true);
    ShowRange(kRanges[index]);
    return;
  }
  QWidget::keyPressEvent(event);
}

void HistoryWindow::ShowRange(ChartRange range) {
  range_ = range;
  Refresh();
}

void HistoryWindow::Refresh() {
  Dispatch("History", [&] { view_->SetChart(form_.ChartHistory(range_)); });
}

}  // namespace quorvex
