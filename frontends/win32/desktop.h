// The form runtime on Windows: a hidden tool window, its timers, message pump and popup.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>

#include "app/desktop.h"
#include "app/single_instance.h"
#include "common/kernel_handle_win32.h"
#include "frontends/win32/window_handles.h"

namespace quorvex {

class Form1;
class HistoryWindowWin32;

// The timer ids the hidden window gets in WM_TIMER, one per form timer.
UINT_PTR TimerEventId(TimerId timer);
std::optional<TimerId> TimerOfEvent(UINT_PTR eventId);

class DesktopWin32 : public Desktop {
 public:
  // Creates the hidden window; `windowProcedure` receives its messages.
  DesktopWin32(HINSTANCE instance, WNDPROC windowProcedure);
  ~DesktopWin32() override;  // where HistoryWindowWin32 is a whole type
  DesktopWin32(const DesktopWin32&) = delete;
  DesktopWin32& operator=(const DesktopWin32&) = delete;

  // The form whose menu the popup shows and whose Click gets the chosen item.
  void AttachForm(Form1& form) { form_ = &form; }
  HWND Window() const { return window_.get(); }
  bool Ended() const { return ended_; }

  void DoEvents() override;
  void WaitForEvents(int32_t timeoutMs) override;
  void Wake() override;
  void TimerChanged(TimerId timer, bool enabled, int32_t intervalMs) override;
  void ShowMessageBox(const Text& caption, const Text& text) override;
  bool AcquireSingleInstance() override;
  void HideFromTaskList() override;
  NativeHandle WindowHandle() override { return reinterpret_cast<NativeHandle>(window_.get()); }
  NativeHandle NormalIcon() override { return reinterpret_cast<NativeHandle>(normalIcon_); }
  NativeHandle AlertIcon() override { return reinterpret_cast<NativeHandle>(alertIcon_); }
  void PlaySoundSync(const Text& name) override;
  void ShowPopup() override;
  void EndProgram() override;
  // To the debugger's output, where the window procedure sends the errors of handlers.
  void ReportError(std::string_view handler, std::string_view message) override;
  int64_t NowMs() override { return static_cast<int64_t>(GetTickCount64()); }
  int64_t WallClockMs() override;
  int32_t LocalOffsetMinutes(int64_t utcMs) override;
  // Only ever called for the menu item just clicked: the window comes to the front with the focus.
  void ShowHistory() override;

 private:
  // In this order so that they go in the opposite one: the window first, the lock last.
  std::unique_ptr<SingleInstanceLock> instanceLock_ = MakeSingleInstanceLock(Text(), Text());
  KernelHandle wakeUp_{CreateEventW(nullptr, FALSE, FALSE, nullptr)};  // set by Wake, from any thread
  OwnedWindow window_;
  HICON normalIcon_ = nullptr;  // shared icons (LR_SHARED): the system keeps them
  HICON alertIcon_ = nullptr;
  Form1* form_ = nullptr;
  HINSTANCE instance_ = nullptr;
  std::unique_ptr<HistoryWindowWin32> historyWindow_;  // made at the first "History…", then reused
  bool ended_ = false;
};

}  // namespace quorvex
