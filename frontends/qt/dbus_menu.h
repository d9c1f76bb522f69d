// The form's menu exported over com.canonical.dbusmenu for a StatusNotifierItem host, which
// draws the menu itself. The items are the program's, as the owner last published them;
// MenuRevisions keeps their ids and what each host has of each item. Each host is told
// what changed for it with signals addressed to it alone: ItemsPropertiesUpdated with the
// properties that changed, LayoutUpdated naming a parent whose children changed. A host
// gets labels written for its own rule: GNOME Shell's AppIndicator extension its own
// (GnomeShellLabel), every other host the dbusmenu rules (DbusMenuLabel), so a "&" or "_"
// of a server line is shown. A host that reads one level at a time is asked to read a
// submenu it has not read, so the submenu is filled before it is first opened. The host
// saying it opens a menu (AboutToShow, or the event "opened") runs the owner's opening,
// which publishes what changed; "clicked" runs the owner's click with the line as that
// host showed it.
#pragma once
#include <QDBusContext>
#include <QDBusServiceWatcher>
#include <QHash>
#include <QObject>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

#include "frontends/qt/dbus_types.h"
#include "frontends/qt/menu_revisions.h"

namespace quorvex {

class DbusMenu : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
  Q_PROPERTY(uint Version READ Version)
  Q_PROPERTY(QString TextDirection READ TextDirection)
  Q_PROPERTY(QString Status READ Status)
  Q_PROPERTY(QStringList IconThemePath READ IconThemePath)

 public:
  using Clicked = std::function<void(const MenuRevisions::Click& click)>;

  explicit DbusMenu(PopupSnapshot first);

  // The menu is exported at `path` on the connection named `connection`: hosts met on an
  // earlier connection are forgotten.
  void Attach(const QString& connection, const QString& path);
  // Hosts read `menu` from now on; each is told what changed for it.
  void Publish(PopupSnapshot menu);
  // The bus names of the hosts it keeps what they were given for.
  std::vector<std::string> Hosts() const { return revisions_.Hosts(); }
  void OnOpening(std::function<void()> opening) { opening_ = std::move(opening); }
  // Runs from the event loop after the host's call has been answered.
  void OnClicked(Clicked clicked) { clicked_ = std::move(clicked); }

  uint Version() const { return 3; }
  QString TextDirection() const { return QStringLiteral("ltr"); }
  QString Status() const { return QStringLiteral("normal"); }
  QStringList IconThemePath() const { return {}; }

 public slots:
  // QtDBus finds the types of a slot's arguments by name: hence "quorvex::".
  uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                 quorvex::DbusMenuLayout& layout);
  QList<quorvex::DbusMenuItemProperties> GetGroupProperties(const QList<int>& ids, const QStringList& propertyNames);
  QDBusVariant GetProperty(int id, const QString& name);
  void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp);
  QList<int> EventGroup(const QList<quorvex::DbusMenuEvent>& events);
  bool AboutToShow(int id);
  QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors);

 signals:
  // Declared for the interface's description; each is sent addressed to one host (Tell).
  void LayoutUpdated(uint revision, int parent);
  void ItemsPropertiesUpdated(const QList<quorvex::DbusMenuItemProperties>& updatedProps,
                              const QList<quorvex::DbusMenuItemPropertyNames>& removedProps);

 private:
  MenuRevisions::Host Caller();
  void ReportUnknown(int id);
  void Tell(const std::vector<MenuRevisions::News>& news);
  void SendLayoutUpdated(const QString& host, int parent);
  void AskToReadSubmenus(const std::string& host);

  MenuRevisions revisions_;
  std::function<void()> opening_;
  Clicked clicked_;
  QString connection_;
  QString path_;
  QHash<QString, LabelRule> rules_;  // per host met
  QDBusServiceWatcher hostsGoing_;   // a host that leaves the bus is forgotten
};

}  // namespace quorvex
