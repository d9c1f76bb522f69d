#include "frontends/qt/tray_shell.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPixmap>

#include "frontends/qt/literal_text.h"

namespace quorvex {

namespace {

constexpr auto kNotifications = "org.freedesktop.Notifications";
constexpr int kBalloonMs = 10000;  // as long as QSystemTrayIcon shows one
// The name a notification is headed with (Plasma leaves out a summary equal to it), and the
// installed desktop file (share/applications/quorvex.desktop) it comes from.
constexpr auto kNotifyingApp = "Quorvex";
constexpr auto kDesktopEntry = "quorvex";

QDBusMessage NotificationsCall(const QString& method) {
  return QDBusMessage::createMethodCall(kNotifications, "/org/freedesktop/Notifications", kNotifications, method);
}

// The texts keep Windows' CR LF line breaks; a Linux desktop breaks lines at LF alone and
// may draw the CR.
QString ForDesktop(const Text& text) { return QString::fromStdU16String(text).replace(QStringLiteral("\r\n"), "\n"); }

// Every drawing as one QIcon, from which an XEmbed tray takes the size it shows.
QIcon AsQIcon(const QList<QImage>& drawings) {
  QIcon icon;
  for (const QImage& drawing : drawings) icon.addPixmap(QPixmap::fromImage(drawing));
  return icon;
}

}  // namespace

QtTrayShell::QtTrayShell(const TrayIcons& icons) : icons_(icons) {
  if (StatusNotifierItem::HostAvailable()) item_ = std::make_unique<StatusNotifierItem>();
  pendingHide_.setSingleShot(true);
  pendingHide_.setInterval(0);
  QObject::connect(&pendingHide_, &QTimer::timeout, [this] { SetIconVisible(false); });
}

void QtTrayShell::SetContextMenu(QMenu& menu) {
  if (!item_) icon_.setContextMenu(&menu);
}

DbusMenu* QtTrayShell::ExportMenu(PopupSnapshot first) {
  return item_ ? &item_->ExportMenu(std::move(first)) : nullptr;
}

void QtTrayShell::OnContextMenu(std::function<void()> handler) {
  if (item_) {
    item_->OnContextMenu(std::move(handler));
    return;
  }
  QObject::connect(&icon_, &QSystemTrayIcon::activated, [handler](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Context) handler();
  });
}

void QtTrayShell::OnBalloonClick(std::function<std::optional<ServerRecord>()> serverOfNewBalloon,
                                 std::function<void(const ServerRecord&)> click) {
  serverOfNewBalloon_ = std::move(serverOfNewBalloon);
  notificationClicks_ = std::make_unique<NotificationClicks>(click);
  QObject::connect(&icon_, &QSystemTrayIcon::messageClicked, [this, click] {
    if (serverOfMessage_) click(*serverOfMessage_);
  });
}

void QtTrayShell::UpdateIcon(const QList<QImage>& icon, const QString& toolTip) {
  if (item_) {
    item_->SetIcon(icon);
    item_->SetToolTip(toolTip);
  } else {
    icon_.setIcon(AsQIcon(icon));
    icon_.setToolTip(toolTip);
  }
}

void QtTrayShell::SetIconVisible(bool visible) {
  if (item_) {
    visible ? item_->Show() : item_->Hide();
  } else {
    icon_.setVisible(visible);
  }
}

void QtTrayShell::NotifyIcon(uint32_t message, const TrayIconData& data) {
  if (message == kNimDelete) {
    pendingHide_.start();
    return;
  }
  pendingHide_.stop();
  UpdateIcon(icons_.Drawings(data.hIcon), ForDesktop(data.szTip));
  if (message == kNimAdd) SetIconVisible(true);
  if ((data.uFlags & kNifInfo) != 0 && !data.szInfo.empty()) {
    const auto icon = (data.dwInfoFlags & 3) == kNiifInfo ? QSystemTrayIcon::Information : QSystemTrayIcon::NoIcon;
    ShowBalloon(ForDesktop(data.szInfoTitle), data.szInfo, icon,
                serverOfNewBalloon_ ? serverOfNewBalloon_() : std::nullopt);
  }
}

// A desktop's notification service shows the balloon; a service that advertises
// "body-markup" gets the body with its markup characters escaped, so it shows what
// Windows shows. Qt would send the body as it is, so the tray asks the service itself,
// without waiting for it on the UI thread. Without a service, an XEmbed tray gets
// QSystemTrayIcon's own balloon; a StatusNotifierItem desktop shows none, as with Qt's item.
// A balloon about a server can be clicked: the notification carries the join actions, and
// the id the service gives it keeps the server for a click that comes later.
void QtTrayShell::ShowBalloon(const QString& title, const Text& text, QSystemTrayIcon::MessageIcon icon,
                              const std::optional<ServerRecord>& server) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  auto* asked = new QDBusPendingCallWatcher(bus.asyncCall(NotificationsCall("GetCapabilities")), &icon_);
  QObject::connect(asked, &QDBusPendingCallWatcher::finished, [this, bus, title, text, icon, server](auto* answer) {
    answer->deleteLater();
    const QDBusPendingReply<QStringList> capabilities = *answer;
    if (capabilities.isError()) {
      serverOfMessage_ = server;
      icon_.showMessage(title, ForDesktop(text), icon, kBalloonMs);
      return;
    }
    const Text body = NotificationBody(text, capabilities.value().contains("body-markup"));
    QStringList actions;
    if (server && notificationClicks_) {
      for (const Text& action : JoinActions(capabilities.value().contains("actions")))
        actions << QString::fromStdU16String(action);
    }
    QDBusMessage notify = NotificationsCall("Notify");
    const QVariantMap hints{{"desktop-entry", QString(kDesktopEntry)}};
    notify << QString(kNotifyingApp) << 0u << QString(icon == QSystemTrayIcon::Information ? "dialog-information" : "")
           << title << ForDesktop(body) << actions << hints << kBalloonMs;
    if (actions.isEmpty()) {
      bus.asyncCall(notify);
      return;
    }
    auto* sent = new QDBusPendingCallWatcher(bus.asyncCall(notify), &icon_);
    QObject::connect(sent, &QDBusPendingCallWatcher::finished, [this, server](auto* reply) {
      reply->deleteLater();
      const QDBusPendingReply<uint> id = *reply;
      if (!id.isError() && notificationClicks_) notificationClicks_->Remember(id.value(), *server);
    });
  });
}

}  // namespace quorvex
