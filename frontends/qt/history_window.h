// The window of the player history: buttons (and keys 1, 2, 3) for the last 24 hours, 7 days
// and 30 days over the chart, drawn with QPainter as history/chart_layout.h lays it out.
#pragma once
#include <QButtonGroup>
#include <QTimer>
#include <QWidget>

#include "app/form1.h"
#include "history/chart_layout.h"

namespace quorvex {

// The chart alone: axes, grid, lines and their labels, in the chart area of the window.
class HistoryChartView : public QWidget {
 public:
  explicit HistoryChartView(QWidget* parent) : QWidget(parent) {}
  void SetChart(HistoryChart chart);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  HistoryChart chart_;
};

class HistoryWindow : public QWidget {
 public:
  explicit HistoryWindow(Form1& form);
  // Shows the window, or brings it to the front when it is open already; the chart is read
  // anew either way.
  void ShowOrRaise();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowRange(ChartRange range);
  void Refresh();

  Form1& form_;
  ChartRange range_ = ChartRange::Day;
  QButtonGroup ranges_;
  HistoryChartView* view_;
  QTimer refresh_;  // while shown: the open bucket grows with every poll
};

}  // namespace quorvex
