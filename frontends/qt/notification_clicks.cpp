#include "frontends/qt/notification_clicks.h"

#include <QDBusConnection>

namespace quorvex {

NotificationClicks::NotificationClicks(std::function<void(const ServerRecord&)> click) : click_(std::move(click)) {
  // Qt takes only the signal the name's owner sends; its ids are one series for every
  // program, and only those it gave our notifications are remembered.
  QDBusConnection::sessionBus().connect("org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                                        "org.freedesktop.Notifications", "ActionInvoked", this,
                                        SLOT(ActionInvoked(uint, QString)));
}

void NotificationClicks::ActionInvoked(uint id, const QString& actionKey) {
  if (!JoinsServer(actionKey.toStdU16String())) return;
  if (const std::optional<ServerRecord> server = servers_.Find(id)) click_(*server);
}

}  // namespace quorvex
