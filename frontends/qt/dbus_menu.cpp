#include "frontends/qt/dbus_menu.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

#include "frontends/qt/literal_text.h"

namespace quorvex {

namespace {

constexpr auto kIdProperty = "quorvex.dbusmenu.id";

QVariantMap OnlyNamed(QVariantMap properties, const QStringList& names) {
  if (names.isEmpty()) return properties;  // an empty list asks for all
  properties.removeIf([&](const auto& property) { return !names.contains(property.key()); });
  return properties;
}

}  // namespace

// Properties at their defaults are left out, as the dbusmenu interface allows.
QVariantMap DbusMenu::Properties(int id) const {
  QVariantMap properties;
  if (id == 0) {
    properties["children-display"] = QStringLiteral("submenu");
    return properties;
  }
  const QAction& action = *actions_.at(id);
  if (action.isSeparator()) {
    properties["type"] = QStringLiteral("separator");
  } else {
    properties["label"] = QString::fromStdU16String(DbusMenuLabel(action.text().toStdU16String()));
  }
  if (!action.isVisible()) properties["visible"] = false;
  if (!action.isEnabled()) properties["enabled"] = false;
  if (action.isCheckable()) {
    properties["toggle-type"] = QStringLiteral("checkmark");
    properties["toggle-state"] = action.isChecked() ? 1 : 0;
  }
  if (QMenu::menuInAction(&action) != nullptr) properties["children-display"] = QStringLiteral("submenu");
  return properties;
}

int DbusMenu::IdOf(QAction* action) {
  const QVariant known = action->property(kIdProperty);
  if (known.isValid()) return known.toInt();
  const int id = nextId_++;
  action->setProperty(kIdProperty, id);
  actions_[id] = action;
  return id;
}

bool DbusMenu::Exists(int id) const {
  if (id == 0) return true;
  const auto found = actions_.find(id);
  return found != actions_.end() && !found->second.isNull();
}

const QMenu* DbusMenu::MenuOf(int id) const { return id == 0 ? &menu_ : QMenu::menuInAction(actions_.at(id)); }

DbusMenuLayout DbusMenu::Layout(int id, int depth, const QStringList& propertyNames) {
  DbusMenuLayout layout{id, OnlyNamed(Properties(id), propertyNames), {}};
  const QMenu* menu = MenuOf(id);
  if (menu == nullptr || depth == 0) return layout;
  for (QAction* action : menu->actions()) layout.children.push_back(Layout(IdOf(action), depth - 1, propertyNames));
  return layout;
}

void DbusMenu::ReportUnknown(int id) {
  if (calledFromDBus()) sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("no menu item %1").arg(id));
}

uint DbusMenu::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames, DbusMenuLayout& layout) {
  if (!Exists(parentId)) {
    ReportUnknown(parentId);
    return revision_;
  }
  layout = Layout(parentId, recursionDepth, propertyNames);
  return revision_;
}

QList<DbusMenuItemProperties> DbusMenu::GetGroupProperties(const QList<int>& ids, const QStringList& propertyNames) {
  QList<DbusMenuItemProperties> found;
  for (int id : ids) {
    if (Exists(id)) found.push_back({id, OnlyNamed(Properties(id), propertyNames)});
  }
  return found;
}

QDBusVariant DbusMenu::GetProperty(int id, const QString& name) {
  const QVariantMap properties = Exists(id) ? Properties(id) : QVariantMap();
  if (!properties.contains(name)) {
    if (calledFromDBus()) sendErrorReply(QDBusError::InvalidArgs,
                                         QStringLiteral("item %1 has no %2").arg(id).arg(name));
    return QDBusVariant(QString());
  }
  return QDBusVariant(properties.value(name));
}

void DbusMenu::Event(int id, const QString& eventId, const QDBusVariant&, uint) {
  if (eventId == QStringLiteral("clicked") && id != 0 && Exists(id)) actions_.at(id)->trigger();
}

QList<int> DbusMenu::EventGroup(const QList<DbusMenuEvent>& events) {
  QList<int> idErrors;
  for (const DbusMenuEvent& event : events) {
    if (Exists(event.id)) {
      Event(event.id, event.eventId, event.data, event.timestamp);
    } else {
      idErrors.push_back(event.id);
    }
  }
  return idErrors;
}

// The top menu opening: the popup rebuilds it, as when Qt opens it (aboutToShow), and
// the host is told to read the new layout. Submenus were rebuilt with it.
bool DbusMenu::AboutToShow(int id) {
  if (id != 0) return false;
  emit menu_.aboutToShow();
  std::erase_if(actions_, [](const auto& entry) { return entry.second.isNull(); });
  emit LayoutUpdated(++revision_, 0);
  return true;
}

QList<int> DbusMenu::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
  QList<int> updatesNeeded;
  for (int id : ids) {
    if (!Exists(id)) {
      idErrors.push_back(id);
    } else if (AboutToShow(id)) {
      updatesNeeded.push_back(id);
    }
  }
  return updatesNeeded;
}

}  // namespace quorvex
