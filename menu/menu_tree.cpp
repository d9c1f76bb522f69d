// The popup menu as designed: its controls, their captions and check marks at load.
#include "menu/menu_model.h"
#include "menu/server_items.h"

namespace quorvex {

namespace {

MenuItem Leaf(std::string name, Text caption, int index = -1) {
  MenuItem item;
  item.name = std::move(name);
  item.index = index;
  item.caption = std::move(caption);
  return item;
}

// An item that shows a check mark when it is chosen or on.
MenuItem Choice(std::string name, Text caption, int index = -1) {
  MenuItem item = Leaf(std::move(name), std::move(caption), index);
  item.checkable = true;
  return item;
}

MenuItem Sub(std::string name, Text caption, std::vector<MenuItem> children) {
  MenuItem item = Leaf(std::move(name), std::move(caption));
  item.children = std::move(children);
  return item;
}

}  // namespace

MenuTree MakeDesignMenu() {
  std::vector<MenuItem> servers = {Leaf("menServerTitle", u""), Leaf("menblub", MacronLine())};
  for (int i = 1; i <= kServerItems; ++i) servers.push_back(Leaf("menServername", u"", i));

  std::vector<MenuItem> limits;
  const char16_t* limitCaptions[] = {u"4", u"8", u"16", u"32", u"64"};
  for (int i = 1; i <= 5; ++i) limits.push_back(Choice("men", limitCaptions[i - 1], i));

  std::vector<MenuItem> sorts;
  const char16_t* sortCaptions[] = {u"Server", u"Version", u"Map", u"Players", u"Bots", u"Ping"};
  for (int i = 0; i <= 5; ++i) sorts.push_back(Choice("menSort", sortCaptions[i], i));

  std::vector<MenuItem> rates = {Choice("menRate", u"10s", 1), Choice("menRate", u"20s", 2), Choice("menRate", u"40s", 4)};

  std::vector<MenuItem> config = {
      Choice("menAutostart", u"Autostart"),
      Sub("menSorting", u"Sort", std::move(sorts)),
      Sub("menChecktime", u"Update-Rate", std::move(rates)),
      Choice("menSound", u"Sound"),
  };

  return MenuTree(Sub("menPopup", u"popup",
                      {
                          Leaf("menAbout", u"&Quorvex"),
                          Leaf("menA", u"-"),
                          Sub("menServer", u"&Servers", std::move(servers)),
                          Sub("menPlayer", u"&Player-Limit", std::move(limits)),
                          Sub("menConfig", u"Config", std::move(config)),
                          Leaf("menb", u"-"),
                          Leaf("menExit", u"&Exit"),
                      }));
}

}  // namespace quorvex
