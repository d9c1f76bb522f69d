// Stands in for the notification area telling a program about its icon, which wine-e2e needs
// because Wine's tray never reports a balloon click: posts the icon's callback message to the
// top-level window of a class, as the shell does, with the icon's id as wParam and the event
// (a mouse message, or a balloon's such as NIN_BALLOONUSERCLICK) as lParam.
//   tray_callback.exe WINDOW-CLASS CALLBACK-MESSAGE ICON-ID EVENT   (numbers decimal or 0x...)
// Ends with 0 once posted, 2 when no such window exists, 1 for a usage error.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc != 5) return 1;
  unsigned long numbers[3];
  for (int i = 0; i < 3; ++i) {
    wchar_t* end = nullptr;
    numbers[i] = std::wcstoul(argv[i + 2], &end, 0);
    if (end == argv[i + 2] || *end != L'\0') return 1;
  }
  // FindWindowW finds hidden windows too: a tray program's window is never shown.
  const HWND window = FindWindowW(argv[1], nullptr);
  if (window == nullptr) return 2;
  return PostMessageW(window, numbers[0], numbers[1], numbers[2]) ? 0 : 2;
}
