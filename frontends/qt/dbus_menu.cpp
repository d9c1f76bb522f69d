#include "frontends/qt/dbus_menu.h"

#include <QDBusMessage>

#include "frontends/qt/literal_text.h"
#include "frontends/qt/shown_text.h"

namespace quorvex {

namespace {

QVariantMap OnlyNamed(QVariantMap properties, const QStringList& names) {
  if (names.isEmpty()) return properties;  // an empty list asks for all
  properties.removeIf([&](const auto& property) { return !names.contains(property.key()); });
  return properties;
}

}  // namespace

void DbusMenu::Publish(PopupSnapshot menu) { emit LayoutUpdated(revisions_.Publish(std::move(menu)), 0); }

// Properties at their defaults are left out, as the dbusmenu interface allows.
QVariantMap DbusMenu::Properties(const MenuItem& item, bool root) {
  QVariantMap properties;
  if (!item.children.empty() || root) properties["children-display"] = QStringLiteral("submenu");
  if (root) return properties;
  if (item.IsSeparator()) {
    properties["type"] = QStringLiteral("separator");
  } else {
    const Text text = AccessKeyCaption(item);
    properties["label"] = QString::fromStdU16String(DbusMenuLabel(text));
    // What a screen reader reads. Without it libdbusmenu-gtk3 (xfce4-panel's) names an
    // item once, by its first label with every "_" dropped, and never again.
    properties["accessible-desc"] = QString::fromStdU16String(ShownText(text));
  }
  if (!item.visible) properties["visible"] = false;
  if (!item.enabled) properties["enabled"] = false;
  if (item.checked) {
    properties["toggle-type"] = QStringLiteral("checkmark");
    properties["toggle-state"] = 1;
  }
  return properties;
}

DbusMenuLayout DbusMenu::Layout(const MenuItem& item, int depth, const QStringList& propertyNames) const {
  const int id = revisions_.IdOf(item);
  DbusMenuLayout layout{id, OnlyNamed(Properties(item, id == MenuRevisions::kRootId), propertyNames), {}};
  if (depth == 0) return layout;
  for (const MenuItem& child : item.children) layout.children.push_back(Layout(child, depth - 1, propertyNames));
  return layout;
}

std::string DbusMenu::Caller() const { return calledFromDBus() ? message().service().toStdString() : std::string(); }

void DbusMenu::ReportUnknown(int id) {
  if (calledFromDBus()) sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("no menu item %1").arg(id));
}

uint DbusMenu::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames, DbusMenuLayout& layout) {
  const MenuItem* parent = revisions_.Find(parentId);
  if (parent == nullptr) {
    ReportUnknown(parentId);
    return revisions_.Revision();
  }
  revisions_.ReadBy(Caller());
  layout = Layout(*parent, recursionDepth, propertyNames);
  return revisions_.Revision();
}

QList<DbusMenuItemProperties> DbusMenu::GetGroupProperties(const QList<int>& ids, const QStringList& propertyNames) {
  revisions_.ReadBy(Caller());
  QList<DbusMenuItemProperties> found;
  for (int id : ids) {
    if (const MenuItem* item = revisions_.Find(id)) {
      found.push_back({id, OnlyNamed(Properties(*item, id == MenuRevisions::kRootId), propertyNames)});
    }
  }
  return found;
}

QDBusVariant DbusMenu::GetProperty(int id, const QString& name) {
  const MenuItem* item = revisions_.Find(id);
  const QVariantMap properties = item ? Properties(*item, id == MenuRevisions::kRootId) : QVariantMap();
  if (!properties.contains(name)) {
    if (calledFromDBus()) sendErrorReply(QDBusError::InvalidArgs,
                                         QStringLiteral("item %1 has no %2").arg(id).arg(name));
    return QDBusVariant(QString());
  }
  revisions_.ReadBy(Caller());
  return QDBusVariant(properties.value(name));
}

// A click runs once the host has its answer: its handler may yield or show a box.
void DbusMenu::Event(int id, const QString& eventId, const QDBusVariant&, uint) {
  if (eventId == QStringLiteral("opened") && id == MenuRevisions::kRootId) {
    if (opening_) opening_();
  } else if (eventId == QStringLiteral("clicked")) {
    const std::optional<MenuRevisions::Click> click = revisions_.Clicked(Caller(), id);
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

// The top menu opening, as when Qt opens a QMenu: the owner publishes what changed, and
// the host is told whether to read the layout again.
bool DbusMenu::AboutToShow(int id) {
  if (id != MenuRevisions::kRootId) return false;
  const uint before = revisions_.Revision();
  if (opening_) opening_();
  return revisions_.Revision() != before;
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
