// The hidden window's runtime: its timers, its icon in Wine's notification area call by
// call, and the pump that leaves the quit to the main loop.
#include "frontends/win32/desktop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <utility>
#include <vector>

#include "frontends/win32/tray_shell.h"

namespace quorvex {
namespace {

using Clock = std::chrono::steady_clock;

// The timer ticks that reached the window: the event id, and when it came.
std::vector<std::pair<UINT_PTR, Clock::time_point>> ticks;

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) ticks.emplace_back(wParam, Clock::now());
  return DefWindowProcW(window, message, wParam, lParam);
}

class DesktopWin32Test : public ::testing::Test {
 protected:
  // Pumps for `ms` milliseconds, as a poll's yields would, keeping the ticks meanwhile; or
  // until `enough` ticks came.
  void PumpFor(int ms, size_t enough = SIZE_MAX) {
    ticks.clear();
    for (const auto end = Clock::now() + std::chrono::milliseconds(ms); Clock::now() < end && ticks.size() < enough;) {
      desktop_.DoEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  DesktopWin32 desktop_{GetModuleHandleW(nullptr), RecordingProcedure};
};

TEST_F(DesktopWin32Test, ATimerTicksUntilDisabledAndSettingItAgainStartsItsIntervalAfresh) {
  desktop_.TimerChanged(TimerId::Timer3, true, 30);
  PumpFor(3000, 2);  // two ticks of 30 ms: within seconds even on a machine busy with other work
  ASSERT_GE(ticks.size(), 2u);
  EXPECT_EQ(TimerOfEvent(ticks[1].first), TimerId::Timer3);
  desktop_.TimerChanged(TimerId::Timer3, false, 30);
  desktop_.TimerChanged(TimerId::Timer1, true, 400);
  PumpFor(250);
  EXPECT_TRUE(ticks.empty());
  const auto rearmed = Clock::now();
  desktop_.TimerChanged(TimerId::Timer1, true, 400);
  PumpFor(700);
  ASSERT_FALSE(ticks.empty());
  EXPECT_EQ(TimerOfEvent(ticks.front().first), TimerId::Timer1);
  // Had the first setting stood, the tick would have come some 150 ms after the re-arm.
  EXPECT_GE(ticks.front().second - rearmed, std::chrono::milliseconds(300));
}

// Passes each call on to the shell and keeps whether it succeeded.
struct AnsweredShell : TrayShell {
  void NotifyIcon(uint32_t message, const TrayIconData& data) override {
    answers.emplace_back(message, shell.Send(message, data));
  }
  TrayShellWin32 shell;
  std::vector<std::pair<uint32_t, bool>> answers;
};

TEST_F(DesktopWin32Test, AHiddenToolWindowWhoseTrayCallsTheShellTakesAndWhoseQuitIsLeftForTheMainLoop) {
  desktop_.HideFromTaskList();
  EXPECT_FALSE(IsWindowVisible(desktop_.Window()));
  EXPECT_TRUE(GetWindowLongPtrW(desktop_.Window(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetParent(desktop_.Window()), nullptr);  // top level: it hears "TaskbarCreated"
  ASSERT_TRUE(desktop_.NormalIcon() && desktop_.AlertIcon());  // from the resources
  AnsweredShell shell;
  TrayIcon tray(shell, desktop_.WindowHandle());
  tray.AddTrayIcon(u"Current max players: N/A", desktop_.NormalIcon());
  tray.ModifyTrayIcon(Text(140, u'x'), desktop_.AlertIcon());
  tray.ShowTrayBalloon(u"Quorvex", u"Player-limit reached\n8 players", u"", kNiifInfo);
  tray.AddTrayIcon(u"Player-limit has been reached", desktop_.NormalIcon());
  tray.RestoreTrayIcon();  // as after the shell restarted: the icon is still there, so it is refused
  tray.RemoveTrayIcon();
  tray.ModifyTrayIcon(u"after removal", desktop_.NormalIcon());
  // The first add deletes an icon that is not there; a removed icon cannot change.
  const std::vector<std::pair<uint32_t, bool>> expected = {
      {kNimDelete, false}, {kNimAdd, true}, {kNimModify, true}, {kNimDelete, true}, {kNimAdd, true},
      {kNimDelete, true},  {kNimAdd, true}, {kNimAdd, false},   {kNimDelete, true}, {kNimModify, false}};
  EXPECT_EQ(shell.answers, expected);

  desktop_.EndProgram();
  EXPECT_TRUE(desktop_.Ended());
  desktop_.DoEvents();  // a yield inside the last handler must not eat the quit
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
}

}  // namespace
}  // namespace quorvex
