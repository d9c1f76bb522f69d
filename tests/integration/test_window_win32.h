// A hidden top-level window for the Win32 tests, destroyed with the object.
#pragma once
#include <windows.h>

namespace quorvex::testing {

class TestWindow {
 public:
  explicit TestWindow(const wchar_t* title = L"quorvex test window")
      : window_(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", title, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr)) {}
  ~TestWindow() { DestroyWindow(window_); }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND Handle() const { return window_; }

 private:
  HWND window_;
};

}  // namespace quorvex::testing
