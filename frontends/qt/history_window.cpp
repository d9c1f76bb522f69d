#include "frontends/qt/history_window.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>

#include "frontends/qt/dispatch.h"

namespace quorvex {

namespace {

QString ToQString(const Text& text) { return QString::fromStdU16String(text); }
QColor ColourOf(uint32_t rgb) { return QColor::fromRgb(rgb); }
QRectF ToQRect(const ChartRect& box) { return QRectF(QPointF(box.left, box.top), QPointF(box.right, box.bottom)); }

TextMetrics MetricsOf(const QFontMetricsF& metrics) {
  return {[metrics](const Text& text) { return metrics.horizontalAdvance(ToQString(text)); }, metrics.height()};
}

Qt::Alignment AlignmentOf(TextAlign align) {
  switch (align) {
    case TextAlign::Left:
      return Qt::AlignLeft | Qt::AlignVCenter;
    case TextAlign::Right:
      return Qt::AlignRight | Qt::AlignVCenter;
    case TextAlign::Centre:
      break;
  }
  return Qt::AlignCenter;
}

void Draw(QPainter& painter, const ChartDrawing& drawing) {
  painter.fillRect(ToQRect(drawing.area), ColourOf(drawing.background));
  for (const ChartStroke& stroke : drawing.strokes) {
    painter.setPen(QPen(ColourOf(stroke.colour), stroke.width));
    QPolygonF line;
    for (const ChartPoint& point : stroke.points) line << QPointF(point.x, point.y);
    painter.drawPolyline(line);
  }
  painter.setPen(ColourOf(drawing.textColour));
  const QFontMetricsF metrics = painter.fontMetrics();
  for (const ChartText& text : drawing.texts) {
    const QRectF box = ToQRect(text.box);
    QString shown = ToQString(text.text);
    if (text.elide) shown = metrics.elidedText(shown, Qt::ElideRight, box.width());
    painter.drawText(box, AlignmentOf(text.align), shown);
  }
}

}  // namespace

void HistoryChartView::SetChart(HistoryChart chart) {
  chart_ = std::move(chart);
  update();
}

void HistoryChartView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const ChartRect area{0, 0, static_cast<double>(width()), static_cast<double>(height())};
  Draw(painter, LayOutChart(chart_, area, MetricsOf(QFontMetricsF(painter.font()))));
}

HistoryWindow::HistoryWindow(Form1& form) : form_(form), view_(new HistoryChartView(this)) {
  setWindowTitle(ToQString(kHistoryCaption));
  resize(kHistoryClientWidth, kHistoryClientHeight);
  for (size_t i = 0; i < kRangeButtons.size(); ++i) {
    auto* button = new QPushButton(ToQString(kRangeButtons[i].caption), this);
    button->setCheckable(true);
    button->setToolTip(QString("Key %1").arg(QChar(kRangeButtons[i].key)));
    button->setChecked(kRangeButtons[i].range == range_);
    ranges_.addButton(button, static_cast<int>(i));
  }
  QObject::connect(&ranges_, &QButtonGroup::idClicked, this, [this](int id) { ShowRange(kRangeButtons[id].range); });
  refresh_.setInterval(kHistoryRefreshMs);
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

void HistoryWindow::resizeEvent(QResizeEvent*) {
  const auto boxes = RangeButtonBoxes();
  for (size_t i = 0; i < boxes.size(); ++i) ranges_.button(static_cast<int>(i))->setGeometry(ToQRect(boxes[i]).toRect());
  view_->setGeometry(ToQRect(ChartAreaOf(width(), height())).toRect());
}

void HistoryWindow::keyPressEvent(QKeyEvent* event) {
  for (size_t i = 0; i < kRangeButtons.size(); ++i) {
    if (event->text() != QChar(kRangeButtons[i].key)) continue;
    ranges_.button(static_cast<int>(i))->setChecked(true);
    ShowRange(kRangeButtons[i].range);
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
