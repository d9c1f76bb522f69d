// The structures that the tray sends over com.canonical.dbusmenu and
// org.kde.StatusNotifierItem, with their D-Bus signatures; RegisterDbusTypes() makes them
// known to QtDBus before the first object is exported.
#pragma once
#include <QByteArray>
#include <QDBusArgument>
#include <QDBusVariant>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace quorvex {

// A menu item with its children: (ia{sv}av), each child a variant holding one.
struct DbusMenuLayout {
  int id = 0;
  QVariantMap properties;
  QList<DbusMenuLayout> children;
};

// One item's properties: (ia{sv}).
struct DbusMenuItemProperties {
  int id = 0;
  QVariantMap properties;
};

// The names of one item's properties gone back to their defaults: (ias).
struct DbusMenuItemPropertyNames {
  int id = 0;
  QStringList names;
};

// One event of EventGroup: (isvu).
struct DbusMenuEvent {
  int id = 0;
  QString eventId;
  QDBusVariant data;
  uint timestamp = 0;
};

// An icon drawing: (iiay), ARGB32 pixels in network byte order.
struct DbusImage {
  int width = 0;
  int height = 0;
  QByteArray argb;
  friend bool operator==(const DbusImage&, const DbusImage&) = default;
};
using DbusImages = QList<DbusImage>;

// A tooltip: (sa(iiay)ss), icon name, drawings, title and text.
struct DbusToolTip {
  QString iconName;
  DbusImages images;
  QString title;
  QString text;
};

void RegisterDbusTypes();

QDBusArgument& operator<<(QDBusArgument& argument, const DbusMenuLayout& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DbusMenuLayout& item);
QDBusArgument& operator<<(QDBusArgument& argument, const DbusMenuItemProperties& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DbusMenuItemProperties& item);
QDBusArgument& operator<<(QDBusArgument& argument, const DbusMenuItemPropertyNames& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DbusMenuItemPropertyNames& item);
QDBusArgument& operator<<(QDBusArgument& argument, const DbusMenuEvent& event);
const QDBusArgument& operator>>(const QDBusArgument& argument, DbusMenuEvent& event);
QDBusArgument& operator<<(QDBusArgument& argument, const DbusImage& image);
const QDBusArgument& operator>>(const QDBusArgument& argument, DbusImage& image);
QDBusArgument& operator<<(QDBusArgument& argument, const DbusToolTip& toolTip);
const QDBusArgument& operator>>(const QDBusArgument& argument, DbusToolTip& toolTip);

}  // namespace quorvex

Q_DECLARE_METATYPE(quorvex::DbusMenuLayout)
Q_DECLARE_METATYPE(quorvex::DbusMenuItemProperties)
Q_DECLARE_METATYPE(quorvex::DbusMenuItemPropertyNames)
Q_DECLARE_METATYPE(quorvex::DbusMenuEvent)
Q_DECLARE_METATYPE(quorvex::DbusImage)
Q_DECLARE_METATYPE(quorvex::DbusToolTip)
