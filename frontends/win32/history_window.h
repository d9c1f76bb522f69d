// The window of the player history on Windows: a plain window of the program, drawn with GDI
// from the chart model Form1 computes, with buttons (and keys 1, 2, 3) for the last 24 hours,
// 7 days and 30 days. Its close box hides it; "History…" shows the same window again.
#pragma once
#include <windows.h>

#include "app/form1.h"
#include "frontends/win32/window_handles.h"
#include "history/history_chart.h"

namespace quorvex {

class HistoryWindowWin32 {
 public:
  HistoryWindowWin32(HINSTANCE instance, Form1& form);
  HistoryWindowWin32(const HistoryWindowWin32&) = delete;
  HistoryWindowWin32& operator=(const HistoryWindowWin32&) = delete;

  HWND Window() const { return window_.get(); }
  // Reads the chart anew and shows the window in front of the others. Only a user who chose
  // it (`chosen`, the menu item just clicked: the program is in the foreground already) lets
  // it take the keyboard focus; otherwise it is shown without activating, so a game in the
  // foreground keeps the focus.
  void Show(bool chosen);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void LayOutButtons();
  void ShowRange(ChartRange range);
  void Refresh();
  void Paint();

  Form1& form_;
  OwnedFont font_;      // declared before the window, so it outlives the buttons that use it
  OwnedWindow window_;  // its buttons are its children: they go with it
  HWND buttons_[3] = {};
  ChartRange range_ = ChartRange::Day;
  HistoryChart chart_;
};

}  // namespace quorvex
