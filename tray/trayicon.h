// The one tray icon record and the operations that add, change, balloon and remove it.
#pragma once
#include <cstdint>
#include <optional>

#include "common/text.h"

namespace quorvex {

using NativeHandle = uintptr_t;  // a window or icon handle as the platform gives it

constexpr uint32_t kNimAdd = 0, kNimModify = 1, kNimDelete = 2;
constexpr uint32_t kTrayCallbackMessage = 0x200;  // reported as the window's own mouse move
constexpr uint32_t kNifMessage = 1, kNifIcon = 2, kNifTip = 4, kNifInfo = 0x10;
constexpr uint32_t kNiifInfo = 1;

// The fields of the shell's notify-icon record that the program uses. Texts are kept
// already cut to what the shell holds: 127, 255 and 63 UTF-16 units.
struct TrayIconData {
  NativeHandle hWnd = 0;
  uint32_t uID = 0;
  uint32_t uFlags = 0;
  uint32_t uCallbackMessage = 0;
  NativeHandle hIcon = 0;
  Text szTip;
  uint32_t dwState = 0, dwStateMask = 0;
  Text szInfo;
  uint32_t uTimeout = 0;
  Text szInfoTitle;
  uint32_t dwInfoFlags = 0;

  bool operator==(const TrayIconData&) const = default;
};

// The shell's notification area. Results are not examined: a failed call changes nothing.
class TrayShell {
 public:
  virtual ~TrayShell() = default;
  virtual void NotifyIcon(uint32_t message, const TrayIconData& data) = 0;
};

// Owns `trayIconData` for the whole run; every operation writes some fields and leaves the
// others as the previous operation left them.
class TrayIcon {
 public:
  TrayIcon(TrayShell& shell, NativeHandle window) : shell_(shell), window_(window) {}

  // Removes any icon, then adds it with this tooltip and icon.
  void AddTrayIcon(const Text& tip, NativeHandle icon);
  void ModifyTrayIcon(const Text& tip, NativeHandle icon);
  // Removes and re-adds the icon with a balloon; without `icon` the last icon stays.
  void ShowTrayBalloon(const Text& title, const Text& message, const Text& tip, uint32_t infoFlags,
                       std::optional<NativeHandle> icon = std::nullopt);
  // A balloon over the icon as it stands: the icon and the tooltip stay, nothing is removed
  // or re-added, and the record keeps its flags, so a restored icon does not show it again.
  void ShowBalloonOnly(const Text& title, const Text& message, uint32_t infoFlags);
  void RemoveTrayIcon();
  // Adds the icon again as it stands, for a notification area that was re-created.
  void RestoreTrayIcon();

  const TrayIconData& Data() const { return trayIconData_; }

 private:
  void WriteIconFields(const Text& tip, NativeHandle icon);
  TrayShell& shell_;
  NativeHandle window_;
  TrayIconData trayIconData_;
};

}  // namespace quorvex
