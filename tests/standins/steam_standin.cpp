// Stands in for the Steam client. Started without arguments it keeps a top-level window
// titled "Steam" open, as the running client does; started with arguments (a join) it
// records them in steam_args.txt beside itself and ends.
#include "tests/standins/command_tail_win32.h"

namespace {

constexpr UINT kLifetimeMs = 10 * 60 * 1000;  // a forgotten stand-in does not linger

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER || message == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

int KeepSteamWindowOpen(HINSTANCE instance) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"QuorvexSteamStandIn";
  RegisterClassW(&windowClass);
  // Never shown: FindWindowW finds hidden top-level windows too, and nothing covers the screen.
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Steam", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  SetTimer(window, 1, kLifetimeMs, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const std::wstring arguments = quorvex::CommandTail();
  if (arguments.find_first_not_of(L" \t") == std::wstring::npos) return KeepSteamWindowOpen(instance);
  return quorvex::WriteBesideExecutable(L"steam_args.txt", arguments) ? 0 : 1;
}
