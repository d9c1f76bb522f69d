// The hidden window's runtime: timers, the event pump, the lock and the icons it loads.
#include "frontends/win32/desktop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "resources/resource_ids.h"

namespace quorvex {
namespace {

using Clock = std::chrono::steady_clock;

// What reached the window, with when it arrived.
struct Arrival {
  UINT message;
  WPARAM wParam;
  Clock::time_point at;
};
std::vector<Arrival> arrivals;

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER || message == WM_APP) arrivals.push_back({message, wParam, Clock::now()});
  return DefWindowProcW(window, message, wParam, lParam);
}

class DesktopWin32Test : public ::testing::Test {
 protected:
  void SetUp() override { arrivals.clear(); }
  // Pumps for `ms` milliseconds, as a poll's yields would.
  void PumpFor(int ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end) {
      desktop_.DoEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  int Ticks(TimerId timer) const {
    int count = 0;
    for (const Arrival& arrival : arrivals) count += arrival.message == WM_TIMER && arrival.wParam == TimerEventId(timer);
    return count;
  }
  DesktopWin32 desktop_{GetModuleHandleW(nullptr), RecordingProcedure};
};

TEST_F(DesktopWin32Test, ATimerTicksUntilDisabledAndSettingItAgainStartsItsIntervalAfresh) {
  for (TimerId timer : {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3}) EXPECT_EQ(TimerOfEvent(TimerEventId(timer)), timer);
  EXPECT_FALSE(TimerOfEvent(0).has_value());
  EXPECT_FALSE(TimerOfEvent(99).has_value());
  desktop_.TimerChanged(TimerId::Timer3, true, 30);
  PumpFor(400);
  EXPECT_GE(Ticks(TimerId::Timer3), 2);
  EXPECT_EQ(Ticks(TimerId::Timer1), 0);
  desktop_.TimerChanged(TimerId::Timer3, false, 30);
  desktop_.TimerChanged(TimerId::Timer1, true, 400);
  PumpFor(250);
  const auto rearmed = Clock::now();
  desktop_.TimerChanged(TimerId::Timer1, true, 400);
  arrivals.clear();
  PumpFor(700);
  EXPECT_EQ(Ticks(TimerId::Timer3), 0);
  ASSERT_GE(Ticks(TimerId::Timer1), 1);
  // Had the first setting stood, the tick would have come some 150 ms after the re-arm.
  EXPECT_GE(arrivals.front().at - rearmed, std::chrono::milliseconds(300));
}

TEST_F(DesktopWin32Test, AHiddenToolWindowWithTheLockThatLeavesTheQuitForTheMainLoop) {
  const HWND window = desktop_.Window();
  ASSERT_NE(window, nullptr);
  desktop_.HideFromTaskList();
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetParent(window), nullptr);  // top level: it hears "TaskbarCreated"
  EXPECT_EQ(desktop_.WindowHandle(), reinterpret_cast<NativeHandle>(window));
  ASSERT_TRUE(desktop_.AcquireSingleInstance());
  EXPECT_FALSE(DesktopWin32(GetModuleHandleW(nullptr), RecordingProcedure).AcquireSingleInstance());

  PostMessageW(window, WM_APP, 7, 0);
  desktop_.DoEvents();
  ASSERT_EQ(arrivals.size(), 1u);
  EXPECT_EQ(arrivals[0].wParam, 7u);
  desktop_.EndProgram();
  EXPECT_TRUE(desktop_.Ended());
  desktop_.DoEvents();  // a yield inside the last handler must not eat the quit
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
}

// The colour at (x, y) of an icon image, top row first.
COLORREF IconPixel(HICON icon, int x, int y) {
  ICONINFO info{};
  EXPECT_TRUE(GetIconInfo(icon, &info));
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, info.hbmColor);
  const COLORREF colour = GetPixel(memory, x, y);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return colour;
}

int IconWidth(HICON icon) {
  ICONINFO info{};
  EXPECT_TRUE(GetIconInfo(icon, &info));
  BITMAP bitmap{};
  GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

HICON LoadIconSized(int id, int size) {
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

TEST_F(DesktopWin32Test, TheTrayGetsTheSmallImagesWhichLookAlikeAndTheLargeOnesDifferInTheirBand) {
  const HICON normal = reinterpret_cast<HICON>(desktop_.NormalIcon());
  const HICON alert = reinterpret_cast<HICON>(desktop_.AlertIcon());
  ASSERT_TRUE(normal && alert);
  EXPECT_EQ(IconWidth(normal), GetSystemMetrics(SM_CXSMICON));
  // A band pixel left of the lettering: green in both small images.
  EXPECT_EQ(IconPixel(normal, 0, 8), RGB(0, 128, 0));
  EXPECT_EQ(IconPixel(alert, 0, 8), RGB(0, 128, 0));
  const HICON large[] = {LoadIconSized(QUORVEX_ICON_NORMAL, 32), LoadIconSized(QUORVEX_ICON_ALERT, 32)};
  ASSERT_TRUE(large[0] && large[1]);
  EXPECT_EQ(IconWidth(large[0]), 32);
  EXPECT_EQ(IconPixel(large[0], 0, 16), RGB(0, 0, 0));
  EXPECT_EQ(IconPixel(large[1], 0, 16), RGB(0, 128, 0));
  for (HICON icon : large) DestroyIcon(icon);
}

}  // namespace
}  // namespace quorvex
