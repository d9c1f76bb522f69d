#include "history/history_menu.h"

#include <algorithm>

namespace quorvex {

void AddHistoryItem(MenuTree& menu) {
  if (menu.Has("menHistory")) return;
  MenuItem root = menu.Root();
  std::vector<MenuItem>& items = root.children;
  auto after = items.begin();
  for (auto item = items.begin(); item != items.end(); ++item)
    if (item->name == "menServer" || item->name == "menPlayers") after = item + 1;
  MenuItem history;
  history.name = "menHistory";
  history.caption = u"History\u2026";
  items.insert(after, std::move(history));
  menu = MenuTree(std::move(root));
}

}  // namespace quorvex
