#include "frontends/qt/dbus_types.h"

#include <QDBusMetaType>

namespace quorvex {

void RegisterDbusTypes() {
  qDBusRegisterMetaType<DbusMenuLayout>();
  qDBusRegisterMetaType<DbusMenuItemProperties>();
  qDBusRegisterMetaType<QList<DbusMenuItemProperties>>();
  qDBusRegisterMetaType<DbusMenuItemPropertyNames>();
  qDBusRegisterMetaType<QList<DbusMenuItemPropertyNames>>();
  qDBusRegisterMetaType<DbusMenuEvent>();
  qDBusRegisterMetaType<QList<DbusMenuEvent>>();
  qDBusRegisterMetaType<DbusImage>();
  qDBusRegisterMetaType<DbusImages>();
  qDBusRegisterMetaType<DbusToolTip>();
}

QDBusArgument& operator<<(QDBusArgument& argument, const DbusMenuLayout& item) {
  argument.beginStructure();
  argument << item.id << item.properties;
  argument.beginArray(QMetaType::fromType<QDBusVariant>());
  for (const DbusMenuLayout& child : item.children) argument << QDBusVariant(QVariant::fromValue(child));
  argument.endArray();
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DbusMenuLayout& item) {
  argument.beginStructure();
  argument >> item.id >> item.properties;
  argument.beginArray();
  item.children.clear();
  while (!argument.atEnd()) {
    QDBusVariant child;
    argument >> child;
    item.children.push_back(qdbus_cast<DbusMenuLayout>(child.variant().value<QDBusArgument>()));
  }
  argument.endArray();
  argument.endStructure();
  return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DbusMenuItemProperties& item) {
  argument.beginStructure();
  argument << item.id << item.properties;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DbusMenuItemProperties& item) {
  argument.beginStructure();
  argument >> item.id >> item.properties;
  argument.endStructure();
  return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DbusMenuItemPropertyNames& item) {
  argument.beginStructure();
  argument << item.id << item.names;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DbusMenuItemPropertyNames& item) {
  argument.beginStructure();
  argument >> item.id >> item.names;
  argument.endStructure();
  return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DbusMenuEvent& event) {
  argument.beginStructure();
  argument << event.id << event.eventId << event.data << event.timestamp;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DbusMenuEvent& event) {
  argument.beginStructure();
  argument >> event.id >> event.eventId >> event.data >> event.timestamp;
  argument.endStructure();
  return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DbusImage& image) {
  argument.beginStructure();
  argument << image.width << image.height << image.argb;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DbusImage& image) {
  argument.beginStructure();
  argument >> image.width >> image.height >> image.argb;
  argument.endStructure();
  return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DbusToolTip& toolTip) {
  argument.beginStructure();
  argument << toolTip.iconName << toolTip.images << toolTip.title << toolTip.text;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DbusToolTip& toolTip) {
  argument.beginStructure();
  argument >> toolTip.iconName >> toolTip.images >> toolTip.title >> toolTip.text;
  argument.endStructure();
  return argument;
}

}  // namespace quorvex
