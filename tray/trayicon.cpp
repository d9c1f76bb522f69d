#include "tray/trayicon.h"

namespace quorvex {

namespace {
constexpr size_t kTipUnits = 127, kInfoUnits = 255, kTitleUnits = 63;
}

void TrayIcon::WriteIconFields(const Text& tip, NativeHandle icon) {
  trayIconData_.hWnd = window_;
  trayIconData_.uID = 1;
  trayIconData_.uFlags = kNifMessage | kNifIcon | kNifTip;
  trayIconData_.szTip = CutUnits(tip, kTipUnits);
  trayIconData_.uCallbackMessage = kTrayCallbackMessage;
  trayIconData_.hIcon = icon;
}

void TrayIcon::AddTrayIcon(const Text& tip, NativeHandle icon) {
  shell_.NotifyIcon(kNimDelete, trayIconData_);
  WriteIconFields(tip, icon);
  shell_.NotifyIcon(kNimAdd, trayIconData_);
}

void TrayIcon::ModifyTrayIcon(const Text& tip, NativeHandle icon) {
  WriteIconFields(tip, icon);
  shell_.NotifyIcon(kNimModify, trayIconData_);
}

void TrayIcon::ShowTrayBalloon(const Text& title, const Text& message, const Text& tip, uint32_t infoFlags,
                               std::optional<NativeHandle> icon) {
  shell_.NotifyIcon(kNimDelete, trayIconData_);
  trayIconData_.uID = 1;
  trayIconData_.uFlags = kNifMessage | kNifIcon | kNifTip | kNifInfo;
  trayIconData_.uCallbackMessage = kTrayCallbackMessage;
  if (icon) trayIconData_.hIcon = *icon;
  trayIconData_.szTip = CutUnits(tip, kTipUnits);
  trayIconData_.dwState = 0;
  trayIconData_.dwStateMask = 0;
  trayIconData_.szInfo = CutUnits(message, kInfoUnits);
  trayIconData_.szInfoTitle = CutUnits(title, kTitleUnits);
  trayIconData_.dwInfoFlags = infoFlags;
  shell_.NotifyIcon(kNimAdd, trayIconData_);
}

void TrayIcon::ShowBalloonOnly(const Text& title, const Text& message, uint32_t infoFlags) {
  trayIconData_.szInfo = CutUnits(message, kInfoUnits);
  trayIconData_.szInfoTitle = CutUnits(title, kTitleUnits);
  trayIconData_.dwInfoFlags = infoFlags;
  TrayIconData balloon = trayIconData_;
  balloon.uFlags = kNifInfo;
  shell_.NotifyIcon(kNimModify, balloon);
}

void TrayIcon::RemoveTrayIcon() { shell_.NotifyIcon(kNimDelete, trayIconData_); }

void TrayIcon::RestoreTrayIcon() {
  TrayIconData again = trayIconData_;
  again.uFlags &= ~kNifInfo;  // the balloon has long gone; do not show it a second time
  shell_.NotifyIcon(kNimAdd, again);
}

}  // namespace quorvex
