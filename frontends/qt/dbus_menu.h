// The form's menu exported over com.canonical.dbusmenu for a StatusNotifierItem host, which
// draws the menu itself. Every layout a host reads holds the program's items, as the owner
// last published them (MenuRevisions keeps the ids and what each host read). The labels
// are the captions written by the dbusmenu rules (DbusMenuLabel of the QMenu text), so a
// "&" or "_" of a server line is shown, and the access keys are the menu's own; each item
// also carries the text shown as its "accessible-desc", for screen readers. The host
// saying it opens the top menu (AboutToShow, or the event "opened") runs the owner's
// opening, which publishes what changed; "clicked" runs the owner's click with the menu
// that host read.
#pragma once
#include <QDBusContext>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

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

  explicit DbusMenu(PopupSnapshot first) : revisions_(std::move(first)) {}

  // Hosts read `menu` from now on; they are told with LayoutUpdated.
  void Publish(PopupSnapshot menu);
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
  void LayoutUpdated(uint revision, int parent);

 private:
  static QVariantMap Properties(const MenuItem& item, bool root);
  DbusMenuLayout Layout(const MenuItem& item, int depth, const QStringList& propertyNames) const;
  std::string Caller() const;  // the host's bus name
  void ReportUnknown(int id);

  MenuRevisions revisions_;
  std::function<void()> opening_;
  Clicked clicked_;
};

}  // namespace quorvex
