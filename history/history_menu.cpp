#include "history/history_menu.h"

namespace quorvex {

void AddHistoryItem(MenuTree& menu) {
  if (menu.Has("menHistory")) return;
  // After the Players submenu where the watch= lines made one, else after Servers.
  menu.InsertAfter(menu.Has("menOnline") ? "menOnline" : "menServer",
                   MenuItem{.name = "menHistory", .caption = u"History\u2026"});
}

}  // namespace quorvex
