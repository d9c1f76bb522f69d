#include "menu/players_menu.h"

#include "common/numbers.h"

namespace quorvex {

namespace {

const Text kNobodyOnline = u"nobody watched is online";

}  // namespace

MenuItem PlayersMenu() {
  MenuItem players{.name = "menOnline", .caption = u"Players (0)"};
  for (int line = 1; line <= kPlayerLines; ++line)
    players.children.push_back({.name = "menOnlinePlayer", .index = line, .visible = false});
  // It names no one to join.
  players.children.push_back({.name = "menOnlineNote", .caption = kNobodyOnline, .enabled = false});
  return players;
}

void AddPlayersMenu(MenuTree& menu) { menu.InsertAfter("menServer", PlayersMenu()); }

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
