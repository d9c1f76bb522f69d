#include "frontends/qt/status_notifier_item.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QImage>
#include <QtEndian>

namespace quorvex {

namespace {

constexpr auto kWatcher = "org.kde.StatusNotifierWatcher";
constexpr auto kWatcherPath = "/StatusNotifierWatcher";
constexpr auto kItemPath = "/StatusNotifierItem";
constexpr auto kMenuPath = "/MenuBar";
constexpr auto kConnection = "quorvex-status-notifier-item";

QDBusConnection ItemBus() { return QDBusConnection(kConnection); }

// Every size the icon has, ARGB32 with each pixel in network byte order.
DbusImages Drawings(const QList<QImage>& icon) {
  DbusImages drawings;
  for (const QImage& drawing : icon) {
    const QImage image = drawing.convertToFormat(QImage::Format_ARGB32);
    QByteArray argb(image.sizeInBytes(), Qt::Uninitialized);
    qToBigEndian<quint32>(image.constBits(), image.width() * image.height(), argb.data());
    drawings.push_back({image.width(), image.height(), argb});
  }
  return drawings;
}

}  // namespace

bool StatusNotifierItem::HostAvailable() {
  QDBusMessage get = QDBusMessage::createMethodCall(kWatcher, kWatcherPath, "org.freedesktop.DBus.Properties", "Get");
  get << kWatcher << "IsStatusNotifierHostRegistered";
  const QDBusReply<QDBusVariant> registered = QDBusConnection::sessionBus().call(get);
  return registered.isValid() && registered.value().variant().toBool();
}

StatusNotifierItem::StatusNotifierItem()
    : watcher_(kWatcher, QDBusConnection::sessionBus(), QDBusServiceWatcher::WatchForRegistration) {
  RegisterDbusTypes();
  connect(&watcher_, &QDBusServiceWatcher::serviceRegistered, this, [this] {
    if (shown_) RegisterWithWatcher();
  });
}

StatusNotifierItem::~StatusNotifierItem() { Hide(); }

DbusMenu& StatusNotifierItem::ExportMenu(PopupSnapshot first) {
  menu_ = std::make_unique<DbusMenu>(std::move(first));
  return *menu_;
}

void StatusNotifierItem::SetIcon(const QList<QImage>& drawings) {
  DbusImages icon = Drawings(drawings);
  if (icon == icon_) return;
  icon_ = std::move(icon);
  emit NewIcon();
}

void StatusNotifierItem::SetToolTip(const QString& text) {
  if (text == toolTip_) return;
  toolTip_ = text;
  emit NewToolTip();
}

QString StatusNotifierItem::Id() const { return QCoreApplication::applicationName(); }

QDBusObjectPath StatusNotifierItem::Menu() const { return QDBusObjectPath(menu_ ? kMenuPath : "/NO_DBUSMENU"); }

void StatusNotifierItem::ContextMenu(int, int) {
  if (onContextMenu_) onContextMenu_();
}

void StatusNotifierItem::Show() {
  if (shown_) return;
  QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnection);
  bus.registerObject(kItemPath, this, QDBusConnection::ExportAllContents);
  if (menu_) {
    bus.registerObject(kMenuPath, menu_.get(), QDBusConnection::ExportAllContents);
    menu_->Attach(kConnection, kMenuPath);
  }
  shown_ = true;
  RegisterWithWatcher();
}

void StatusNotifierItem::Hide() {
  if (!shown_) return;
  shown_ = false;
  ItemBus().unregisterObject(kMenuPath);
  ItemBus().unregisterObject(kItemPath);
  QDBusConnection::disconnectFromBus(kConnection);
}

void StatusNotifierItem::RegisterWithWatcher() {
  QDBusConnection bus = ItemBus();
  QDBusMessage call = QDBusMessage::createMethodCall(kWatcher, kWatcherPath, kWatcher, "RegisterStatusNotifierItem");
  call << bus.baseService();
  bus.asyncCall(call);
}

}  // namespace quorvex
