#include "frontends/qt/tray_shell.h"

#include "frontends/qt/desktop.h"

namespace quorvex {

namespace {

// The texts keep Windows' CR LF line breaks; a Linux desktop breaks lines at LF alone and
// may draw the CR.
QString ForDesktop(const Text& text) { return QString::fromStdU16String(text).replace(QStringLiteral("\r\n"), "\n"); }

}  // namespace

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
  icon_.setToolTip(ForDesktop(data.szTip));
  if (message == kNimAdd) icon_.show();
  if ((data.uFlags & kNifInfo) != 0 && !data.szInfo.empty()) {
    const auto icon = (data.dwInfoFlags & 3) == kNiifInfo ? QSystemTrayIcon::Information : QSystemTrayIcon::NoIcon;
    icon_.showMessage(ForDesktop(data.szInfoTitle), ForDesktop(data.szInfo), icon);
  }
}

}  // namespace quorvex
