// The texts handed to Qt written so that the desktop shows them character for character:
// menu captions for a QMenu, which Qt draws (XEmbed) or the tray exports over
// com.canonical.dbusmenu (a StatusNotifierItem host), and a notification's body.
// Plain C++ on Text, so that the unit tests check the rules without a desktop.
#pragma once
#include "common/text.h"
#include "menu/menu_model.h"

namespace quorvex {

// The action text for a QMenu that Qt draws itself: a literal caption's "&" is doubled.
Text QMenuActionText(const MenuItem& item);

// The com.canonical.dbusmenu label for a QMenu action text, for a host that draws the
// menu. Qt's "&&" is one "&" and its "&" before a character marks the access key; dbusmenu
// marks the access key with "_" and writes a shown "_" as "__".
Text DbusMenuLabel(const Text& actionText);

// A notification body for org.freedesktop.Notifications: a server that advertises
// "body-markup" reads "<", ">" and "&" as markup, so they are written as entities there.
Text NotificationBody(const Text& text, bool serverReadsMarkup);

}  // namespace quorvex
