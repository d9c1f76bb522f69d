#include "frontends/qt/tray_shell.h"

#include "frontends/qt/desktop.h"

namespace quorvex {

QtTrayShell::QtTrayShell(QIcon normal, QIcon alert) : normal_(std::move(normal)), alert_(std::move(alert)) {
  pendingHide_.setSingleShot(true);
  pendingHide_.setInterval(0);
  QObject::connect(&pendingHide_, &QTimer::timeout, [this] { icon_.hide(); });
}

void QtTrayShell::NotifyIcon(uint32_t message, const TrayIconData& data) {
  if (message == kNimDelete) {
    pendingHide_.start();
    return;
  }
  pendingHide_.stop();
  icon_.setIcon(data.hIcon == QtDesktop::kAlertIcon ? alert_ : normal_);
  icon_.setToolTip(QString::fromStdU16String(data.szTip));
  if (message == kNimAdd) icon_.show();
  if ((data.uFlags & kNifInfo) != 0 && !data.szInfo.empty()) {
    const auto icon = (data.dwInfoFlags & 3) == kNiifInfo ? QSystemTrayIcon::Information : QSystemTrayIcon::NoIcon;
    icon_.showMessage(QString::fromStdU16String(data.szInfoTitle), QString::fromStdU16String(data.szInfo), icon);
  }
}

}  // namespace quorvex
