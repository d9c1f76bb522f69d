// The icon in a StatusNotifierItem host's notification area (KDE Plasma, GNOME's
// AppIndicator extension, most panels), with its menu exported as DbusMenu. The tray uses
// it instead of QSystemTrayIcon there because Qt's own export turns the first "&" of each
// menu text into an access key, so a server line would show another text than it has.
// The item lives on a connection of its own: hiding it closes that connection, which
// takes it out of the host's area, as QSystemTrayIcon::hide does.
#pragma once
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QImage>
#include <QList>
#include <QObject>

#include <functional>
#include <memory>

#include "frontends/qt/dbus_menu.h"
#include "frontends/qt/dbus_types.h"

namespace quorvex {

class StatusNotifierItem : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
  Q_PROPERTY(QString Category READ Category)
  Q_PROPERTY(QString Id READ Id)
  Q_PROPERTY(QString Title READ Title)
  Q_PROPERTY(QString Status READ Status)
  Q_PROPERTY(int WindowId READ WindowId)
  Q_PROPERTY(QString IconName READ NoName)
  Q_PROPERTY(quorvex::DbusImages IconPixmap READ IconPixmap)
  Q_PROPERTY(QString OverlayIconName READ NoName)
  Q_PROPERTY(QString AttentionIconName READ NoName)
  Q_PROPERTY(quorvex::DbusToolTip ToolTip READ ToolTip)
  Q_PROPERTY(bool ItemIsMenu READ ItemIsMenu)
  Q_PROPERTY(QDBusObjectPath Menu READ Menu)

 public:
  // Whether the desktop has a StatusNotifierWatcher with a host that shows its items.
  static bool HostAvailable();

  StatusNotifierItem();
  ~StatusNotifierItem() override;

  // Exports the menu hosts read, starting with `first`; before the first Show.
  DbusMenu& ExportMenu(PopupSnapshot first);
  void OnContextMenu(std::function<void()> handler) { onContextMenu_ = std::move(handler); }
  // The icon at each of its sizes; hosts are told only when a drawing changed.
  void SetIcon(const QList<QImage>& drawings);
  void SetToolTip(const QString& text);
  void Show();
  void Hide();

  QString Category() const { return QStringLiteral("ApplicationStatus"); }
  QString Id() const;
  // The name a host shows for the icon (Plasma's entries list, a screen reader), as the
  // notifications and the desktop file name the program.
  QString Title() const { return QStringLiteral("Quorvex"); }
  QString Status() const { return QStringLiteral("Active"); }
  int WindowId() const { return 0; }
  QString NoName() const { return {}; }  // the icons are sent as drawings
  DbusImages IconPixmap() const { return icon_; }
  DbusToolTip ToolTip() const { return {{}, {}, toolTip_, {}}; }
  bool ItemIsMenu() const { return false; }
  QDBusObjectPath Menu() const;

 public slots:
  // A left or middle click and the wheel do nothing, as on Windows; the right button
  // asks for the menu (a host that reads Menu draws it itself).
  void Activate(int, int) {}
  void SecondaryActivate(int, int) {}
  void Scroll(int, const QString&) {}
  void ContextMenu(int x, int y);

 signals:
  void NewIcon();
  void NewToolTip();

 private:
  void RegisterWithWatcher();

  std::unique_ptr<DbusMenu> menu_;
  std::function<void()> onContextMenu_;
  DbusImages icon_;
  QString toolTip_;
  bool shown_ = false;
  QDBusServiceWatcher watcher_;  // a watcher that starts anew is told about the item again
};

}  // namespace quorvex
