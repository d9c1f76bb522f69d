// The Players submenu: the watched players online, one line each, after the Servers submenu.
// It exists only while Quorvex.ini has watch= lines, so the menu without them is as designed.
#pragma once
#include <vector>

#include "common/text.h"
#include "menu/menu_model.h"

namespace quorvex {

// The lines the submenu shows at most; the players past them are counted in one more line.
inline constexpr int kPlayerLines = 32;

// The submenu "menOnline" ("Players (0)"): the line items "menOnlinePlayer" 1 to 32, hidden,
// and the disabled "menOnlineNote", which says "nobody watched is online".
MenuItem PlayersMenu();
// Puts PlayersMenu() after "menServer".
void AddPlayersMenu(MenuTree& menu);

// Shows one line item per caption of `lines` (every player online, in menu order) up to 32,
// hides the others, and sets "Players (N)" for all N; the note says "and M more" for the M
// players past the 32nd, "nobody watched is online" when there are none, and is hidden
// otherwise.
void WritePlayersMenu(MenuTree& menu, const std::vector<Text>& lines);

}  // namespace quorvex
