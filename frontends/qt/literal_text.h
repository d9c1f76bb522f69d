// The texts handed to Qt written so that the desktop shows them character for character:
// menu captions for a QMenu that Qt draws (XEmbed) and for one exported over
// com.canonical.dbusmenu (a StatusNotifierItem host), and a notification's body.
// Plain C++ on Text, so that the unit tests check the rules without a desktop.
#pragma once
#include "common/text.h"
#include "menu/menu_model.h"

namespace quorvex {

// The action text for a QMenu that Qt draws itself: a literal caption's "&" is doubled.
Text QMenuActionText(const MenuItem& item);

// The action text for a QMenu exported over dbusmenu, where the host draws it. There "__"
// shows one "_" and a lone "_" marks the next character as the access key; Qt turns the
// first "&" of an action's text (unless it is the last character) into that "_". A literal
// caption therefore gets its "_" doubled, and the "&" that Qt converts becomes the first
// half of such a doubled "_" when one comes before it. When none does, that "&" is written
// twice: the host then shows it, as the access key, since Qt passes no "&" through
// unconverted. The program's own captions go as they are, "&Quorvex" becoming "_Quorvex".
Text DbusMenuActionText(const MenuItem& item);

// A notification body for org.freedesktop.Notifications: a server that advertises
// "body-markup" reads "<", ">" and "&" as markup, so they are written as entities there.
Text NotificationBody(const Text& text, bool serverReadsMarkup);

}  // namespace quorvex
