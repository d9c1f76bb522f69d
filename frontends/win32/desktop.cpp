#include "frontends/win32/desktop.h"

#include <mmsystem.h>

#include <string>

#include "app/executable_location.h"
#include "app/form1.h"
#include "common/files.h"
#include "common/wide_win32.h"
#include "frontends/win32/history_window.h"
#include "frontends/win32/popup_menu.h"
#include "resources/resource_ids.h"

namespace quorvex {

namespace {

constexpr wchar_t kWindowClass[] = L"Quorvex.TrayWindow";
constexpr int kPopupRaise = 20;  // the popup opens this many pixels above the cursor

HWND CreateHiddenWindow(HINSTANCE instance, WNDPROC windowProcedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = windowProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExW(&windowClass);  // fails harmlessly when a second desktop registers it again
  // A tool window that is never shown: no task-list entry, yet a top-level window, so it
  // gets the shell's broadcast "TaskbarCreated" (a message-only window would not).
  const HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"Quorvex tray window", WS_POPUP, 0, 0, 0, 0,
                                      nullptr, nullptr, instance, nullptr);
  // The class keeps the procedure of the desktop that registered it first: a later desktop
  // (a test's, say) sets its own on its window.
  if (window != nullptr) SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(windowProcedure));
  return window;
}

// The tray shows the small image; asking for it avoids a scaled-down large one.
HICON LoadSmallIcon(HINSTANCE instance, int id) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                       GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR | LR_SHARED));
}

}  // namespace

UINT_PTR TimerEventId(TimerId timer) { return static_cast<UINT_PTR>(timer) + 1; }

std::optional<TimerId> TimerOfEvent(UINT_PTR eventId) {
  for (TimerId timer : {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3}) {
    if (TimerEventId(timer) == eventId) return timer;
  }
  return std::nullopt;
}

DesktopWin32::DesktopWin32(HINSTANCE instance, WNDPROC windowProcedure)
    : window_(CreateHiddenWindow(instance, windowProcedure)),
      normalIcon_(LoadSmallIcon(instance, QUORVEX_ICON_NORMAL)),
      alertIcon_(LoadSmallIcon(instance, QUORVEX_ICON_ALERT)),
      instance_(instance) {}

// The history window, declared after the hidden window, goes first.
DesktopWin32::~DesktopWin32() = default;

void DesktopWin32::DoEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The program is ending: leave the quit for the main loop to see.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void DesktopWin32::WaitForEvents(int32_t timeoutMs) {
  // Input already in the queue but not yet looked at counts too (MWMO_INPUTAVAILABLE).
  const HANDLE wakeUp = wakeUp_.get();
  MsgWaitForMultipleObjectsEx(wakeUp_.valid() ? 1 : 0, &wakeUp, static_cast<DWORD>(timeoutMs), QS_ALLINPUT,
                              MWMO_INPUTAVAILABLE);
}

void DesktopWin32::Wake() {
  if (wakeUp_.valid()) SetEvent(wakeUp_.get());
}

void DesktopWin32::TimerChanged(TimerId timer, bool enabled, int32_t intervalMs) {
  // SetTimer on a running timer starts its interval afresh, as setting it on the form does.
  if (enabled && intervalMs > 0) {
    SetTimer(window_.get(), TimerEventId(timer), static_cast<UINT>(intervalMs), nullptr);
  } else {
    KillTimer(window_.get(), TimerEventId(timer));  // a form timer with interval 0 never ticks
  }
}

void DesktopWin32::ShowMessageBox(const Text& caption, const Text& text) {
  // No owner: the hidden window cannot bring a box to the front, the box itself can.
  MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(), MB_OK | MB_SETFOREGROUND);
}

bool DesktopWin32::AcquireSingleInstance() { return instanceLock_->Acquire(); }

void DesktopWin32::HideFromTaskList() {
  // Created as a tool window and never shown, it is on no task list; keep it hidden.
  ShowWindow(window_.get(), SW_HIDE);
}

void DesktopWin32::PlaySoundSync(const Text& name) {
  const Text besideProgram = JoinPath(RunningExecutable().folder, name);
  if (VisibleFileExists(besideProgram)) {
    PlaySoundW(Wide(besideProgram).c_str(), nullptr, SND_FILENAME | SND_SYNC | SND_NODEFAULT);
  } else {
    PlaySoundW(Wide(name).c_str(), nullptr, SND_SYNC);  // a system alias, or the default sound
  }
}

void DesktopWin32::ShowPopup() {
  if (form_ == nullptr) return;
  POINT at{};
  GetCursorPos(&at);
  at.y -= kPopupRaise;
  const PopupSnapshot snapshot = form_->Snapshot();
  std::optional<MenuCommand> chosen;
  {
    const PopupMenu popup(snapshot.menu);
    chosen = popup.Track(window_.get(), at);
  }
  if (chosen) form_->Click(chosen->name, chosen->index, snapshot);
}

// FILETIME counts 100 ns from 1601-01-01, 11,644,473,600 s before 1970.
int64_t DesktopWin32::WallClockMs() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const int64_t ticks = (static_cast<int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return ticks / 10'000 - 11'644'473'600'000;
}

// The local time Windows gives for that instant, daylight saving included, less the instant.
int32_t DesktopWin32::LocalOffsetMinutes(int64_t utcMs) {
  const int64_t ticks = (utcMs + 11'644'473'600'000) * 10'000;
  const FILETIME utcFile{static_cast<DWORD>(ticks & 0xffffffff), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utc{}, local{};
  FILETIME localFile{};
  if (!FileTimeToSystemTime(&utcFile, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) ||
      !SystemTimeToFileTime(&local, &localFile))
    return 0;
  const int64_t localTicks = (static_cast<int64_t>(localFile.dwHighDateTime) << 32) | localFile.dwLowDateTime;
  return static_cast<int32_t>((localTicks - ticks) / 600'000'000);
}

void DesktopWin32::ShowHistory() {
  if (form_ == nullptr) return;
  if (!historyWindow_) historyWindow_ = std::make_unique<HistoryWindowWin32>(instance_, *form_);
  historyWindow_->Show(true);
}

void DesktopWin32::EndProgram() {
  ended_ = true;
  PostQuitMessage(0);
}

void DesktopWin32::ReportError(std::string_view handler, std::string_view message) {
  const std::string line = "quorvex: " + std::string(handler) + ": " + std::string(message);
  OutputDebugStringW(Wide(FromUtf8(line)).c_str());
}

}  // namespace quorvex
