// What one open popup showed, so a click acts on what the player saw even if a poll has
// changed the menu since.
#pragma once
#include <vector>

#include "menu/menu_model.h"
#include "menu/server_menu.h"
#include "servers/server_table.h"

namespace quorvex {

// The menu and, per server slot, the record its lines showed; and the server of each line
// of the Players submenu, from the first.
struct PopupSnapshot {
  MenuTree menu;
  ShownServers shownServers;
  std::vector<ServerRecord> onlinePlayerServers;
};

}  // namespace quorvex
