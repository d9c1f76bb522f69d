#include "frontends/win32/history_window.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "common/wide_win32.h"
#include "frontends/win32/dispatch.h"
#include "resources/resource_ids.h"

namespace quorvex {

namespace {

constexpr wchar_t kWindowClass[] = L"Quorvex.History";
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 60'000;  // the open bucket grows with each poll
constexpr int kFirstButton = 100;
constexpr ChartRange kRanges[] = {ChartRange::Day, ChartRange::Week, ChartRange::Month};
constexpr const wchar_t* kRangeCaptions[] = {L"24 hours", L"7 days", L"30 days"};
constexpr int kButtonWidth = 84, kButtonHeight = 26, kMargin = 10;

COLORREF ColourOf(uint32_t rgb) { return RGB((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff); }

// The message font of the desktop, as dialogs use it.
HFONT MessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(QUORVEX_ICON_NORMAL));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassExW(&windowClass);  // fails harmlessly when it is registered already
}

// A pen held for one drawing: selected on construction, the old one back and deleted after.
class ScopedPen {
 public:
  ScopedPen(HDC dc, int width, COLORREF colour) : dc_(dc), pen_(CreatePen(PS_SOLID, width, colour)) {
    old_ = SelectObject(dc_, pen_);
  }
  ~ScopedPen() {
    SelectObject(dc_, old_);
    DeleteObject(pen_);
  }
  ScopedPen(const ScopedPen&) = delete;
  ScopedPen& operator=(const ScopedPen&) = delete;

 private:
  HDC dc_;
  HPEN pen_;
  HGDIOBJ old_;
};

// What is drawn where: the plot area, and the legend to its right.
struct ChartLayout {
  RECT plot;
  int legendLeft;
  int lineHeight;
};

ChartLayout LayOut(HDC dc, const RECT& area, const HistoryChart& chart) {
  SIZE size{};
  GetTextExtentPoint32W(dc, L"000000", 6, &size);
  const int lineHeight = size.cy;
  int legendWidth = 0;
  for (const ChartSeries& series : chart.series) {
    const std::wstring label = Wide(series.label);
    SIZE labelSize{};
    GetTextExtentPoint32W(dc, label.c_str(), static_cast<int>(label.size()), &labelSize);
    legendWidth = std::max(legendWidth, std::min(220, static_cast<int>(labelSize.cx) + 28));
  }
  RECT plot{area.left + size.cx + 12, area.top + lineHeight + 12, 0, area.bottom - 2 * lineHeight - 12};
  plot.right = std::max<LONG>(plot.left + 40, area.right - legendWidth - 24);
  plot.bottom = std::max(plot.top + 40, plot.bottom);
  return {plot, static_cast<int>(plot.right + 12), lineHeight};
}

POINT PointAt(const RECT& plot, double x, double y) {
  return {plot.left + static_cast<LONG>(x * (plot.right - plot.left) + 0.5),
          plot.bottom - static_cast<LONG>(y * (plot.bottom - plot.top) + 0.5)};
}

void DrawTextAt(HDC dc, const Text& text, RECT box, UINT format) {
  std::wstring wide = Wide(text);
  DrawTextW(dc, wide.data(), static_cast<int>(wide.size()), &box, format | DT_SINGLELINE | DT_NOPREFIX);
}

void DrawAxes(HDC dc, const HistoryChart& chart, const ChartLayout& layout) {
  const RECT& plot = layout.plot;
  for (const PlayerTick& tick : chart.playerTicks) {
    const POINT at = PointAt(plot, 0, YFraction(chart, tick.players));
    {
      const ScopedPen pen(dc, 1, RGB(225, 225, 225));
      MoveToEx(dc, at.x, at.y, nullptr);
      LineTo(dc, plot.right, at.y);
    }
    DrawTextAt(dc, tick.label, {0, at.y - layout.lineHeight / 2, plot.left - 6, at.y + layout.lineHeight / 2},
               DT_RIGHT | DT_VCENTER);
  }
  for (const TimeTick& tick : chart.timeTicks) {
    const POINT at = PointAt(plot, XFraction(chart, tick.atMs), 0);
    {
      const ScopedPen pen(dc, 1, tick.major ? RGB(160, 160, 160) : RGB(225, 225, 225));
      MoveToEx(dc, at.x, plot.top, nullptr);
      LineTo(dc, at.x, plot.bottom);
    }
    if (!tick.label.empty())
      DrawTextAt(dc, tick.label, {at.x - 60, plot.bottom + 4, at.x + 60, plot.bottom + 4 + layout.lineHeight},
                 DT_CENTER);
  }
  const ScopedPen frame(dc, 1, RGB(0, 0, 0));
  const POINT corners[] = {{plot.left, plot.top}, {plot.right, plot.top}, {plot.right, plot.bottom},
                           {plot.left, plot.bottom}, {plot.left, plot.top}};
  Polyline(dc, corners, 5);
}

// The lines, the busiest server's last so it lies on top, the total thicker.
void DrawLines(HDC dc, const HistoryChart& chart, const RECT& plot) {
  for (auto series = chart.series.rbegin(); series != chart.series.rend(); ++series) {
    const ScopedPen pen(dc, series->total ? 3 : 2, ColourOf(series->colour));
    for (const ChartSegment& segment : series->segments) {
      std::vector<POINT> line;
      for (const auto& [x, y] : SegmentPoints(chart, segment)) line.push_back(PointAt(plot, x, y));
      if (line.size() == 1) line.push_back({line[0].x + 1, line[0].y});  // one bucket between gaps: a dot
      Polyline(dc, line.data(), static_cast<int>(line.size()));
    }
  }
}

void DrawLegend(HDC dc, const HistoryChart& chart, const ChartLayout& layout, int right) {
  int y = layout.plot.top;
  for (const ChartSeries& series : chart.series) {
    {
      const ScopedPen pen(dc, series.total ? 3 : 2, ColourOf(series.colour));
      MoveToEx(dc, layout.legendLeft, y + layout.lineHeight / 2, nullptr);
      LineTo(dc, layout.legendLeft + 16, y + layout.lineHeight / 2);
    }
    DrawTextAt(dc, series.label, {layout.legendLeft + 22, y, right, y + layout.lineHeight},
               DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS);
    y += layout.lineHeight + 4;
  }
}

void DrawChart(HDC dc, const RECT& area, const HistoryChart& chart) {
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (chart.endMs <= chart.startMs || chart.playerTop <= 0) return;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  const ChartLayout layout = LayOut(dc, area, chart);
  DrawTextAt(dc, chart.title, {layout.plot.left, area.top + 4, area.right, area.top + 4 + layout.lineHeight},
             DT_LEFT);
  DrawAxes(dc, chart, layout);
  DrawLines(dc, chart, layout.plot);
  DrawLegend(dc, chart, layout, area.right - kMargin);
  if (!chart.note.empty()) {
    RECT plot = layout.plot;
    DrawTextAt(dc, chart.note, plot, DT_CENTER | DT_VCENTER);
  }
}

}  // namespace

HistoryWindowWin32::HistoryWindowWin32(HINSTANCE instance, Form1& form) : form_(form), font_(MessageFont()) {
  RegisterWindowClass(instance, Procedure);
  // A plain top-level window, shown later: never topmost, on the task list while open.
  window_.Reset(CreateWindowExW(0, kWindowClass, L"Quorvex \u2013 History", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 840, 460, nullptr, nullptr, instance, this));
  for (int i = 0; i < 3; ++i) {
    buttons_[i] = CreateWindowExW(0, L"BUTTON", kRangeCaptions[i],
                                  WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | BS_PUSHLIKE | (i == 0 ? WS_GROUP : 0),
                                  0, 0, 0, 0, window_.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstButton + i)),
                                  instance, nullptr);
    SendMessageW(buttons_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }
  CheckRadioButton(window_.get(), kFirstButton, kFirstButton + 2, kFirstButton);
  LayOutButtons();
  SetTimer(window_.get(), kRefreshTimer, kRefreshMs, nullptr);
}

void HistoryWindowWin32::Show(bool chosen) {
  Refresh();
  if (chosen) {
    ShowWindow(window_.get(), IsIconic(window_.get()) ? SW_RESTORE : SW_SHOW);
    BringWindowToTop(window_.get());  // open already but covered: to the top of the others too
    SetForegroundWindow(window_.get());
  } else {
    ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
    SetWindowPos(window_.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

LRESULT CALLBACK HistoryWindowWin32::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created->lpCreateParams));
  }
  auto* self = reinterpret_cast<HistoryWindowWin32*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || self->window_.get() != window) return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT HistoryWindowWin32::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:  // the close box: hidden, so the next "History…" shows it as it was
      ShowWindow(window_.get(), SW_HIDE);
      return 0;
    case WM_SIZE:
      LayOutButtons();
      InvalidateRect(window_.get(), nullptr, FALSE);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT draws every pixel
    case WM_PAINT:
      Paint();
      return 0;
    case WM_TIMER:
      if (wParam == kRefreshTimer && IsWindowVisible(window_.get())) Refresh();
      return 0;
    case WM_COMMAND: {
      const int index = LOWORD(wParam) - kFirstButton;
      if (index >= 0 && index < 3 && HIWORD(wParam) == BN_CLICKED) {
        ShowRange(kRanges[index]);
        SetFocus(window_.get());  // the keys 1, 2, 3 reach the window again
      }
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam >= '1' && wParam <= '3') {
        const int index = static_cast<int>(wParam - '1');
        CheckRadioButton(window_.get(), kFirstButton, kFirstButton + 2, kFirstButton + index);
        ShowRange(kRanges[index]);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window_.get(), message, wParam, lParam);
}

void HistoryWindowWin32::LayOutButtons() {
  for (int i = 0; i < 3; ++i)
    MoveWindow(buttons_[i], kMargin + i * (kButtonWidth + 6), kMargin, kButtonWidth, kButtonHeight, TRUE);
}

void HistoryWindowWin32::ShowRange(ChartRange range) {
  range_ = range;
  Refresh();
}

void HistoryWindowWin32::Refresh() {
  Dispatch("History", [&] { chart_ = form_.ChartHistory(range_); });
  InvalidateRect(window_.get(), nullptr, FALSE);
}

// Drawn into a bitmap first and copied in one go, so a refresh does not flicker.
void HistoryWindowWin32::Paint() {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window_.get(), &paint);
  RECT client;
  GetClientRect(window_.get(), &client);
  const HDC memory = CreateCompatibleDC(dc);
  const HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
  const HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  const HGDIOBJ oldFont = SelectObject(memory, font_.get());
  FillRect(memory, &client, GetSysColorBrush(COLOR_BTNFACE));
  const RECT chartArea{kMargin, 2 * kMargin + kButtonHeight, client.right - kMargin, client.bottom - kMargin};
  DrawChart(memory, chartArea, chart_);
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, oldFont);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
  EndPaint(window_.get(), &paint);
}

}  // namespace quorvex
