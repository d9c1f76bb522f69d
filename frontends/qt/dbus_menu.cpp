#include "frontends/qt/dbus_menu.h"

#include <QDBusConnection>
#include <QDBusMessage>

#include "frontends/qt/bus_peer.h"

namespace quorvex {

namespace {

constexpr auto kInterface = "com.canonical.dbusmenu";

QVariant ToVariant(const MenuProperty& property) {
  if (const bool* flag = std::get_if<bool>(&property)) return *flag;
  if (const int32_t* number = std::get_if<int32_t>(&property)) return *number;
  return QString::fromStdU16String(std::get<std::u16string>(property));
}

QVariantMap ToMap(const MenuProperties& properties) {
  QVariantMap map;
  for (const auto& [name, value] : properties) map[QString::fromStdString(name)] = ToVariant(value);
  return map;
}

DbusMenuLayout ToLayout(const MenuRevisions::Node& node) {
  DbusMenuLayout layout{node.id, ToMap(node.properties), {}};
  for (const MenuRevisions::Node& child : node.children) layout.children.push_back(ToLayout(child));
  return layout;
}

std::vector<std::string> Names(const QStringList& names) {
  std::vector<std::string> converted;
  for (const QString& name : names) converted.push_back(name.toStdString());
  return converted;
}

}  // namespace

DbusMenu::DbusMenu(PopupSnapshot first) : revisions_(std::move(first)) {
  hostsGoing_.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
  connect(&hostsGoing_, &QDBusServiceWatcher::serviceUnregistered, this, [this](const QString& host) {
    revisions_.Forget(host.toStdString());
    rules_.remove(host);
    hostsGoing_.removeWatchedService(host);
  });
}

void DbusMenu::Attach(const QString& connection, const QString& path) {
  connection_ = connection;
  path_ = path;
  revisions_.ForgetHosts();
  rules_.clear();
  hostsGoing_.setWatchedServices({});
  hostsGoing_.setConnection(QDBusConnection(connection));
}

void DbusMenu::Publish(PopupSnapshot menu) { Tell(revisions_.Publish(std::move(menu))); }

// Each host gets its own signals: the labels differ between hosts, and a host is told
// only what differs from what it has.
void DbusMenu::Tell(const std::vector<MenuRevisions::News>& news) {
  for (const MenuRevisions::News& told : news) {
    const QString host = QString::fromStdString(told.host);
    if (!told.updated.empty() || !told.removed.empty()) {
      QList<DbusMenuItemProperties> updated;
      for (const auto& item : told.updated) updated.push_back({item.id, ToMap(item.properties)});
      QList<DbusMenuItemPropertyNames> removed;
      for (const auto& item : told.removed) {
        QStringList names;
        for (const std::string& name : item.names) names << QString::fromStdString(name);
        removed.push_back({item.id, names});
      }
      QDBusMessage signal = QDBusMessage::createTargetedSignal(host, path_, kInterface, "ItemsPropertiesUpdated");
      signal << QVariant::fromValue(updated) << QVariant::fromValue(removed);
      QDBusConnection(connection_).send(signal);
    }
    for (int parent : told.changedParents) SendLayoutUpdated(host, parent);
  }
}

void DbusMenu::SendLayoutUpdated(const QString& host, int parent) {
  QDBusMessage signal = QDBusMessage::createTargetedSignal(host, path_, kInterface, "LayoutUpdated");
  signal << revisions_.Revision() << parent;
  QDBusConnection(connection_).send(signal);
}

// Plasma's host reads a submenu's items only when it is opened, and places it on the
// screen before they arrive: named as changed, the submenu is read at once.
void DbusMenu::AskToReadSubmenus(const std::string& host) {
  for (int submenu : revisions_.SubmenusNeverRead(host)) SendLayoutUpdated(QString::fromStdString(host), submenu);
}

MenuRevisions::Host DbusMenu::Caller() {
  if (!calledFromDBus()) return {};
  const QString host = message().service();
  if (!rules_.contains(host)) {
    rules_[host] = IsGnomeShell(connection(), host) ? LabelRule::kGnomeShell : LabelRule::kMnemonic;
    hostsGoing_.addWatchedService(host);
  }
  return {host.toStdString(), rules_.value(host)};
}

void DbusMenu::ReportUnknown(int id) {
  if (calledFromDBus()) sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("no menu item %1").arg(id));
}

uint DbusMenu::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames, DbusMenuLayout& layout) {
  const MenuRevisions::Host host = Caller();
  const std::optional<MenuRevisions::Node> read = revisions_.Layout(host, parentId, recursionDepth, Names(propertyNames));
  if (!read) {
    ReportUnknown(parentId);
    return revisions_.Revision();
  }
  layout = ToLayout(*read);
  // After the answer has gone, which shows the host the submenus.
  if (calledFromDBus()) QMetaObject::invokeMethod(this, [this, name = host.name] { AskToReadSubmenus(name); }, Qt::QueuedConnection);
  return revisions_.Revision();
}

QList<DbusMenuItemProperties> DbusMenu::GetGroupProperties(const QList<int>& ids, const QStringList& propertyNames) {
  QList<DbusMenuItemProperties> found;
  for (const auto& item : revisions_.GroupProperties(Caller(), {ids.begin(), ids.end()}, Names(propertyNames)))
    found.push_back({item.id, ToMap(item.properties)});
  return found;
}

QDBusVariant DbusMenu::GetProperty(int id, const QString& name) {
  const std::optional<MenuProperty> property = revisions_.Property(Caller(), id, name.toStdString());
  if (!property) {
    if (calledFromDBus()) sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("item %1 has no %2").arg(id).arg(name));
    return QDBusVariant(QString());
  }
  return QDBusVariant(ToVariant(*property));
}

// A click runs once the host has its answer: its handler may yield or show a box.
void DbusMenu::Event(int id, const QString& eventId, const QDBusVariant&, uint) {
  if (eventId == QStringLiteral("opened") && id == MenuRevisions::kRootId) {
    if (opening_) opening_();
  } else if (eventId == QStringLiteral("clicked")) {
    const std::optional<MenuRevisions::Click> click = revisions_.Clicked(Caller().name, id);
    if (click && clicked_) QMetaObject::invokeMethod(this, [this, run = *click] { clicked_(run); }, Qt::QueuedConnection);
  }
}

QList<int> DbusMenu::EventGroup(const QList<DbusMenuEvent>& events) {
  QList<int> idErrors;
  for (const DbusMenuEvent& event : events) {
    if (revisions_.Find(event.id) != nullptr) {
      Event(event.id, event.eventId, event.data, event.timestamp);
    } else {
      idErrors.push_back(event.id);
    }
  }
  return idErrors;
}

// A menu opening, as when Qt opens a QMenu: the owner publishes what changed (each host
// is told before this answer), and the host learns whether to read the submenu again.
bool DbusMenu::AboutToShow(int id) {
  if (opening_) opening_();
  return revisions_.ChangedSinceRead(Caller().name, id);
}

QList<int> DbusMenu::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
  QList<int> updatesNeeded;
  for (int id : ids) {
    if (revisions_.Find(id) == nullptr) {
      idErrors.push_back(id);
    } else if (AboutToShow(id)) {
      updatesNeeded.push_back(id);
    }
  }
  return updatesNeeded;
}

}  // namespace quorvex
