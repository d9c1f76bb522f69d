#include "frontends/win32/history_window.h"

#include <cmath>
#include <string>
#include <vector>

#include "common/wide_win32.h"
#include "frontends/win32/dispatch.h"
#include "history/chart_layout.h"
#include "resources/resource_ids.h"

namespace quorvex {

namespace {

constexpr wchar_t kWindowClass[] = L"Quorvex.History";
constexpr UINT_PTR kRefreshTimer = 1;
constexpr int kFirstButton = 100;

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

LONG Pixel(double at) { return static_cast<LONG>(std::lround(at)); }
RECT PixelRect(const ChartRect& box) { return {Pixel(box.left), Pixel(box.top), Pixel(box.right), Pixel(box.bottom)}; }

// The font selected into `dc`, measured as the chart layout asks.
TextMetrics MetricsOf(HDC dc) {
  const auto width = [dc](const Text& text) {
    const std::wstring wide = Wide(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return static_cast<double>(size.cx);
  };
  SIZE line{};
  GetTextExtentPoint32W(dc, L"0", 1, &line);
  return {width, static_cast<double>(line.cy)};
}

UINT FormatOf(const ChartText& text) {
  const UINT align = text.align == TextAlign::Left ? DT_LEFT : text.align == TextAlign::Right ? DT_RIGHT : DT_CENTER;
  return align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | (text.elide ? DT_END_ELLIPSIS : 0);
}

void Draw(HDC dc, const ChartDrawing& drawing) {
  const RECT area = PixelRect(drawing.area);
  const HBRUSH background = CreateSolidBrush(ColourOf(drawing.background));
  FillRect(dc, &area, background);
  DeleteObject(background);
  for (const ChartStroke& stroke : drawing.strokes) {
    const ScopedPen pen(dc, stroke.width, ColourOf(stroke.colour));
    std::vector<POINT> points;
    for (const ChartPoint& point : stroke.points) points.push_back({Pixel(point.x), Pixel(point.y)});
    Polyline(dc, points.data(), static_cast<int>(points.size()));
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColourOf(drawing.textColour));
  for (const ChartText& text : drawing.texts) {
    std::wstring wide = Wide(text.text);
    RECT box = PixelRect(text.box);
    DrawTextW(dc, wide.data(), static_cast<int>(wide.size()), &box, FormatOf(text));
  }
}

// The outer size of a window whose client area has the size the layout gives.
SIZE WindowSizeFor(DWORD style) {
  RECT frame{0, 0, kHistoryClientWidth, kHistoryClientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace

HistoryWindowWin32::HistoryWindowWin32(HINSTANCE instance, Form1& form) : form_(form), font_(MessageFont()) {
  RegisterWindowClass(instance, Procedure);
  // A plain top-level window, shown later: never topmost, on the task list while open.
  const SIZE size = WindowSizeFor(WS_OVERLAPPEDWINDOW);
  window_.Reset(CreateWindowExW(0, kWindowClass, Wide(kHistoryCaption).c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, instance, this));
  for (int i = 0; i < 3; ++i) {
    buttons_[i] = CreateWindowExW(0, L"BUTTON", Wide(kRangeButtons[i].caption).c_str(),
                                  WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | BS_PUSHLIKE | (i == 0 ? WS_GROUP : 0),
                                  0, 0, 0, 0, window_.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstButton + i)),
                                  instance, nullptr);
    SendMessageW(buttons_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }
  CheckRadioButton(window_.get(), kFirstButton, kFirstButton + 2, kFirstButton);
  LayOutButtons();
  SetTimer(window_.get(), kRefreshTimer, kHistoryRefreshMs, nullptr);
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
        ShowRange(kRangeButtons[index].range);
        SetFocus(window_.get());  // the keys 1, 2, 3 reach the window again
      }
      return 0;
    }
    case WM_KEYDOWN:
      for (int index = 0; index < 3; ++index) {
        if (wParam != static_cast<WPARAM>(kRangeButtons[index].key)) continue;
        CheckRadioButton(window_.get(), kFirstButton, kFirstButton + 2, kFirstButton + index);
        ShowRange(kRangeButtons[index].range);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window_.get(), message, wParam, lParam);
}

void HistoryWindowWin32::LayOutButtons() {
  const auto boxes = RangeButtonBoxes();
  for (int i = 0; i < 3; ++i) {
    const RECT box = PixelRect(boxes[i]);
    MoveWindow(buttons_[i], box.left, box.top, box.right - box.left, box.bottom - box.top, TRUE);
  }
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
  Draw(memory, LayOutChart(chart_, ChartAreaOf(client.right, client.bottom), MetricsOf(memory)));
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, oldFont);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
  EndPaint(window_.get(), &paint);
}

}  // namespace quorvex
