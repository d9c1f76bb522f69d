#include "menu/server_menu.h"

#include <algorithm>

#include "common/numbers.h"
#include "menu/line_layout.h"
#include "menu/server_items.h"
#include "menu/sort.h"

namespace quorvex {

namespace {

void ShowItem(MenuTree& menu, int index, const Text& caption) {
  MenuItem& item = menu.Item("menServername", index);
  item.caption = caption;
  item.visible = true;
}

// Writes the three items of one slot from a copy of its record taken before the yield,
// so the lines and the record a click acts on agree even if a poll runs inside the yield.
void WriteSlot(MenuTree& menu, const ServerTable& servers, int slot, EventPump& pump, ShownServers& shownServers) {
  pump.DoEvents();
  const ServerRecord record = servers.at(slot);
  const Text serverLine = FormatServerLine(record);
  const Text playerLine = FormatPlayerLine(record);
  pump.DoEvents();
  ShowItem(menu, ServerItemIndex(slot, ServerLine::Server), serverLine);
  ShowItem(menu, ServerItemIndex(slot, ServerLine::Players), playerLine);
  ShowItem(menu, ServerItemIndex(slot, ServerLine::Separator), MacronLine());
  shownServers[static_cast<size_t>(slot)] = record;
}

// The separator after the last listed server goes too; with no server at all every item
// goes. Counted in int: 3 × a large 16-bit count must not overflow.
void HideUnlistedItems(MenuTree& menu, int16_t serverCount, EventPump& pump) {
  const int firstHidden = std::max(ServerItemIndex(serverCount, ServerLine::Separator), 1);
  for (int index = firstHidden; index <= kServerItems; ++index) {
    menu.Item("menServername", index).visible = false;
    pump.DoEvents();
  }
}

}  // namespace

void UpdateServerTitle(MenuTree& menu, int16_t sort) { menu.Item("menServerTitle").caption = MarkedHeaderLine(sort); }

void RebuildServerMenu(MenuTree& menu, ServerTable& servers, int16_t serverCount, int16_t sort, EventPump& pump,
                       ShownServers& shownServers) {
  const int listed = std::clamp(static_cast<int>(serverCount), 0, ServerTable::kSlots);
  SortServers(servers, listed, sort, pump);
  for (int slot = 1; slot <= ServerTable::kSlots; ++slot) WriteSlot(menu, servers, slot, pump, shownServers);
  HideUnlistedItems(menu, serverCount, pump);
  menu.Item("menServer").caption = u"Servers (" + FormatPlain(serverCount) + u")";
  UpdateServerTitle(menu, sort);
}

}  // namespace quorvex
