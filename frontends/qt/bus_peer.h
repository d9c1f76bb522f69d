// Which program is at the other end of a bus name: a menu host's label rule depends on it.
#pragma once
#include <QDBusConnection>
#include <QString>

namespace quorvex {

// Whether `name` on `bus` belongs to a gnome-shell process, whose AppIndicator extension
// reads menu labels by a rule of its own. Asks the bus for the process, then reads its
// executable's name or its command name.
bool IsGnomeShell(const QDBusConnection& bus, const QString& name);

}  // namespace quorvex
