// Clicks on the tray's notifications: the notification server reports each as the signal
// ActionInvoked with the notification's id, which need not be the latest (a notification
// centre keeps the older ones); the click joins the server that notification was about.
#pragma once
#include <QObject>
#include <QString>

#include <functional>

#include "frontends/qt/balloon_actions.h"

namespace quorvex {

class NotificationClicks : public QObject {
  Q_OBJECT

 public:
  // Listens on the session bus; `click` gets the server of each notification clicked.
  explicit NotificationClicks(std::function<void(const ServerRecord&)> click);

  // The notification server gave `id` to a notification about `server`.
  void Remember(uint32_t id, const ServerRecord& server) { servers_.Remember(id, server); }

 public slots:
  void ActionInvoked(uint id, const QString& actionKey);

 private:
  std::function<void(const ServerRecord&)> click_;
  BalloonServers servers_;
};

}  // namespace quorvex
