#include "menu/players_menu.h"

#include "common/numbers.h"

namespace quorvex {

namespace {

const Text kNobodyOnline = u"nobody watched is online";

MenuItem Item(std::string name, Text caption, int index = -1) {
  MenuItem item;
  item.name = std::move(name);
  item.index = index;
  item.caption = std::move(caption);
  return item;
}

}  // namespace

void AddPlayersMenu(MenuTree& menu) {
  MenuItem players = Item("menOnline", u"Players (0)");
  for (int line = 1; line <= kPlayerLines; ++line) {
    players.children.push_back(Item("menOnlinePlayer", u"", line));
    players.children.back().visible = false;
  }
  players.children.push_back(Item("menOnlineNote", kNobodyOnline));
  players.children.back().enabled = false;  // it names no one to join
  menu.InsertAfter("menServer", std::move(players));
}

void WritePlayersMenu(MenuTree& menu, const std::vector<Text>& lines) {
  const auto online = static_cast<int64_t>(lines.size());
  for (int line = 1; line <= kPlayerLines; ++line) {
    MenuItem& item = menu.Item("menOnlinePlayer", line);
    item.visible = line <= online;
    item.caption = item.visible ? lines[static_cast<size_t>(line - 1)] : Text();
  }
  MenuItem& note = menu.Item("menOnlineNote");
  note.caption = online == 0              ? kNobodyOnline
                 : online > kPlayerLines ? u"and " + FormatPlain(online - kPlayerLines) + u" more"
                                         : Text();
  note.visible = !note.caption.empty();
  menu.Item("menOnline").caption = u"Players (" + FormatPlain(online) + u")";
}

}  // namespace quorvex
