// The texts handed to the desktop written so that it shows them character for character:
// a QMenu action text (menu/menu_model.h: AccessKeyCaption) as a com.canonical.dbusmenu
// label, for a StatusNotifierItem host that draws the menu, and a notification's body.
// Plain C++ on Text, so that the unit tests check the rules without a desktop.
#pragma once
#include "common/text.h"

namespace quorvex {

// The com.canonical.dbusmenu label for a QMenu action text, for a host that draws the
// menu. Qt's "&&" is one "&" and its "&" before a character marks the access key; dbusmenu
// marks the access key with "_" and writes a shown "_" as "__".
Text DbusMenuLabel(const Text& actionText);

// The label for GNOME Shell's AppIndicator extension, which takes no "__" for "_": it drops
// only the first "_" that another character follows. So the text shown gets one "_" in
// front, which that rule drops again; a text of nothing but "_" (none follows) goes as it
// is. The extension draws no access keys.
Text GnomeShellLabel(const Text& actionText);

// A notification body for org.freedesktop.Notifications: a server that advertises
// "body-markup" reads "<", ">" and "&" as markup, so they are written as entities there.
Text NotificationBody(const Text& text, bool serverReadsMarkup);

}  // namespace quorvex
