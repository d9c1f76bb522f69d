// The notification area: a StatusNotifierItem where the desktop has a host for one, else
// QSystemTrayIcon (an XEmbed tray).
#pragma once
#include <QIcon>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

#include "common/text.h"

#include "frontends/qt/notification_clicks.h"
#include "frontends/qt/status_notifier_item.h"
#include "frontends/qt/tray_icons.h"
#include "tray/trayicon.h"

namespace quorvex {

class QtTrayShell : public TrayShell {
 public:
  // `icons` draws each icon handle Form1 passes; it outlives the shell.
  explicit QtTrayShell(const TrayIcons& icons);

  void NotifyIcon(uint32_t message, const TrayIconData& data) override;
  // The menu Qt draws in an XEmbed tray.
  void SetContextMenu(QMenu& menu);
  // The menu a StatusNotifierItem host reads and draws, starting with `first`; null in an
  // XEmbed tray.
  DbusMenu* ExportMenu(PopupSnapshot first);
  // The right button on the icon, for a desktop that does not open the menu itself.
  void OnContextMenu(std::function<void()> handler);
  // Clicks on balloons: as each is shown, `serverOfNewBalloon` gives the server it is about
  // (the form's, none for a balloon about no single server); `click` gets that server back
  // when the balloon is clicked, however many balloons came after it.
  void OnBalloonClick(std::function<std::optional<ServerRecord>()> serverOfNewBalloon,
                      std::function<void(const ServerRecord&)> click);

 private:
  void UpdateIcon(const QList<QImage>& icon, const QString& toolTip);
  void SetIconVisible(bool visible);
  void ShowBalloon(const QString& title, const Text& text, QSystemTrayIcon::MessageIcon icon,
                   const std::optional<ServerRecord>& server);

  std::unique_ptr<StatusNotifierItem> item_;  // null in an XEmbed tray, where icon_ shows
  QSystemTrayIcon icon_;
  const TrayIcons& icons_;
  // A balloon removes and re-adds the icon. Hiding is held back until the event loop runs,
  // so an add right after a removal keeps the icon in its place instead of making it
  // leave the notification area and register anew.
  QTimer pendingHide_;
  std::function<std::optional<ServerRecord>()> serverOfNewBalloon_;
  std::unique_ptr<NotificationClicks> notificationClicks_;
  std::optional<ServerRecord> serverOfMessage_;  // of QSystemTrayIcon's last balloon
};

}  // namespace quorvex
