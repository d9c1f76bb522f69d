// Rewriting the servers submenu from the server table.
#pragma once
#include <array>
#include <cstdint>

#include "common/event_pump.h"
#include "menu/menu_model.h"
#include "menu/rebuild_gate.h"  // every caller of the rebuild goes through the gate
#include "servers/server_table.h"

namespace quorvex {

// The records the servers submenu shows, by slot (0 unused): a click on a line acts on the
// record that line was written from, whatever a later poll put into that table slot.
using ShownServers = std::array<ServerRecord, ServerTable::kSlots + 1>;

// Sets "menServerTitle" to the header with the marker on the sort column.
void UpdateServerTitle(MenuTree& menu, int16_t sort);

// Sorts slots 1..min(serverCount, 16) by `sort`, writes the three items of every slot
// 1..16 of "menServername" (server line, player line, separator), hides the items from
// 3 × serverCount on, and sets the captions "Servers (n)" and the header. A count of 0 or
// less hides all 48 items. Yields as it goes; HandlerAborted passes through.
void RebuildServerMenu(MenuTree& menu, ServerTable& servers, int16_t serverCount, int16_t sort, EventPump& pump,
                       ShownServers& shownServers);

}  // namespace quorvex
