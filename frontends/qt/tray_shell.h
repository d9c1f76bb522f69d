// The notification area through QSystemTrayIcon (StatusNotifierItem or XEmbed).
#pragma once
#include <QIcon>
#include <QSystemTrayIcon>
#include <QTimer>

#include "common/text.h"

#include "tray/trayicon.h"

namespace quorvex {

class QtTrayShell : public TrayShell {
 public:
  QtTrayShell(QIcon normal, QIcon alert);

  void NotifyIcon(uint32_t message, const TrayIconData& data) override;
  QSystemTrayIcon& Icon() { return icon_; }

 private:
  void ShowBalloon(const QString& title, const Text& text, QSystemTrayIcon::MessageIcon icon);

  QSystemTrayIcon icon_;
  QIcon normal_, alert_;
  // A balloon removes and re-adds the icon. Hiding is held back until the event loop runs,
  // so an add right after a removal keeps the icon in its place instead of making it
  // leave the notification area and register anew.
  QTimer pendingHide_;
};

}  // namespace quorvex
