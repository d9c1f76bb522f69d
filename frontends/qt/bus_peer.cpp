#include "frontends/qt/bus_peer.h"

#include <QDBusMessage>
#include <QDBusReply>
#include <QFile>
#include <QFileInfo>

namespace quorvex {

namespace {

constexpr auto kShell = "gnome-shell";

// By its executable's name, or its command name (all another user's process shows).
bool IsShellProcess(uint pid) {
  const QString proc = QStringLiteral("/proc/%1/").arg(pid);
  if (QFileInfo(QFileInfo(proc + "exe").symLinkTarget()).fileName() == kShell) return true;
  QFile command(proc + "comm");
  return command.open(QIODevice::ReadOnly) && QString::fromUtf8(command.readAll()).trimmed() == kShell;
}

}  // namespace

bool IsGnomeShell(const QDBusConnection& bus, const QString& name) {
  QDBusMessage ask = QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                    "org.freedesktop.DBus", "GetConnectionUnixProcessID");
  ask << name;
  const QDBusReply<uint> pid = bus.call(ask);
  return pid.isValid() && IsShellProcess(pid.value());
}

}  // namespace quorvex
