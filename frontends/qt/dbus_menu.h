// A QMenu exported over com.canonical.dbusmenu for a StatusNotifierItem host, which draws
// the menu itself. The labels are the actions' texts written by the dbusmenu rules
// (DbusMenuLabel), so a "&" or "_" shown in the QMenu is shown, and an access key marked
// there is the access key here too. The host's AboutToShow on the top menu opens it as a
// QMenu opens (aboutToShow, where the popup rebuilds it); "clicked" triggers the action.
#pragma once
#include <QDBusContext>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <map>

#include "frontends/qt/dbus_types.h"

class QAction;
class QMenu;

namespace quorvex {

class DbusMenu : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
  Q_PROPERTY(uint Version READ Version)
  Q_PROPERTY(QString TextDirection READ TextDirection)
  Q_PROPERTY(QString Status READ Status)
  Q_PROPERTY(QStringList IconThemePath READ IconThemePath)

 public:
  explicit DbusMenu(QMenu& menu) : menu_(menu) {}

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
  void LayoutUpdated(uint revision, int parent);

 private:
  int IdOf(QAction* action);
  bool Exists(int id) const;
  const QMenu* MenuOf(int id) const;  // the submenu of item id, the top menu for 0
  QVariantMap Properties(int id) const;
  DbusMenuLayout Layout(int id, int depth, const QStringList& propertyNames);
  void ReportUnknown(int id);

  QMenu& menu_;
  // Every action gets an id when the host first sees it. A rebuilt menu has new actions
  // and so new ids: a click on an item of an older layout finds its action gone.
  std::map<int, QPointer<QAction>> actions_;
  int nextId_ = 1;
  uint revision_ = 0;
};

}  // namespace quorvex
