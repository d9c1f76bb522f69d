// Where a server slot's lines sit in the servers submenu, and which slot a line shows.
#pragma once
#include "servers/server_table.h"

namespace quorvex {

// Every slot 1..16 of the table has three items of "menServername", in this order.
enum class ServerLine { Server = 1, Players = 2, Separator = 3 };
inline constexpr int kItemsPerSlot = 3;

// The "menServername" index of `line` of `slot`.
constexpr int ServerItemIndex(int slot, ServerLine line) { return kItemsPerSlot * (slot - 1) + static_cast<int>(line); }

// The slot whose server or player line item `index` is; 0 for a separator, which shows no
// server.
constexpr int SlotOfServerItem(int index) { return index % kItemsPerSlot == 0 ? 0 : index / kItemsPerSlot + 1; }

// How many "menServername" items the menu holds: all three of every slot.
inline constexpr int kServerItems = ServerItemIndex(ServerTable::kSlots, ServerLine::Separator);

}  // namespace quorvex
