// The popup's "History…" item, there only when a history= line keeps the player history.
#pragma once
#include "menu/menu_model.h"

namespace quorvex {

// Puts the item "menHistory" into the popup after the Servers submenu (and after a Players
// submenu, when the popup has one), unless it is there already.
void AddHistoryItem(MenuTree& menu);

}  // namespace quorvex
