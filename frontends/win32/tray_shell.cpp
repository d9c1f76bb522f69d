#include "frontends/win32/tray_shell.h"

#include <algorithm>

namespace quorvex {

namespace {

// Copies at most capacity - 1 units and the NUL; TrayIcon has cut the text already, and
// this keeps an over-long one from running past the field whatever happens upstream.
template <size_t capacity>
void CopyText(const Text& text, WCHAR (&field)[capacity]) {
  const size_t units = std::min(text.size(), capacity - 1);
  std::copy_n(text.begin(), units, field);
  field[units] = L'\0';
}

}  // namespace

NOTIFYICONDATAW ToNotifyIconData(const TrayIconData& data) {
  NOTIFYICONDATAW record{};
  record.cbSize = NOTIFYICONDATAW_V2_SIZE;
  record.hWnd = reinterpret_cast<HWND>(data.hWnd);
  record.uID = data.uID;
  record.uFlags = data.uFlags;
  record.uCallbackMessage = data.uCallbackMessage;
  record.hIcon = reinterpret_cast<HICON>(data.hIcon);
  CopyText(data.szTip, record.szTip);
  record.dwState = data.dwState;
  record.dwStateMask = data.dwStateMask;
  CopyText(data.szInfo, record.szInfo);
  record.uTimeout = data.uTimeout;
  CopyText(data.szInfoTitle, record.szInfoTitle);
  record.dwInfoFlags = data.dwInfoFlags;
  return record;
}

bool TrayShellWin32::Send(uint32_t message, const TrayIconData& data) {
  NOTIFYICONDATAW record = ToNotifyIconData(data);
  return Shell_NotifyIconW(message, &record) != FALSE;
}

}  // namespace quorvex
