// The notification area of the Windows shell, behind the TrayShell interface.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "tray/trayicon.h"

namespace quorvex {

// The record as the shell takes it: the V2 size (the balloon fields, no GUID or
// balloon icon), texts already cut by TrayIcon, so they always fit with their NUL.
NOTIFYICONDATAW ToNotifyIconData(const TrayIconData& data);

class TrayShellWin32 : public TrayShell {
 public:
  // The program ignores the result, as a failed tray call changes nothing it could fix.
  void NotifyIcon(uint32_t message, const TrayIconData& data) override { Send(message, data); }
  // The shell's answer, for the tests.
  bool Send(uint32_t message, const TrayIconData& data);
};

}  // namespace quorvex
