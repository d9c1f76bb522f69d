#include "frontends/qt/menu_revisions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "menu/players_menu.h"

namespace quorvex {
namespace {

// The design menu after a poll that listed `servers` in this order: each one's server line
// (the name alone), player line and rule, the lines after them hidden.
PopupSnapshot Listing(const std::vector<Text>& servers) {
  PopupSnapshot shown{MakeDesignMenu(), {}};
  for (int index = 1; index <= 48; ++index) shown.menu.Item("menServername", index).visible = false;
  for (size_t slot = 1; slot <= servers.size(); ++slot) {
    const int first = static_cast<int>(slot) * 3 - 2;
    for (int index = first; index < first + 3; ++index) shown.menu.Item("menServername", index).visible = true;
    shown.menu.Item("menServername", first).caption = servers[slot - 1];
    shown.shownServers[slot].name = servers[slot - 1];
  }
  shown.menu.Item("menServer").caption = u"Servers (" + FromUtf8(std::to_string(servers.size())) + u")";
  return shown;
}

// The same with the Players submenu, its first line `player` on the first listed server.
PopupSnapshot WithPlayer(const std::vector<Text>& servers, const Text& player) {
  PopupSnapshot shown = Listing(servers);
  AddPlayersMenu(shown.menu);
  WritePlayersMenu(shown.menu, {player});
  shown.onlinePlayerServers = {shown.shownServers[1]};
  return shown;
}

int IdOf(const MenuRevisions& menu, std::string_view name, int index = -1) {
  return menu.IdOf(menu.Current().menu.Item(name, index));
}

const MenuRevisions::Host kXfce{":1.10", LabelRule::kMnemonic};
const MenuRevisions::Host kGnome{":1.20", LabelRule::kGnomeShell};
const MenuRevisions::Host kPlasma{":1.30", LabelRule::kMnemonic};

// A host as the desktops keep the menu: it reads the whole tree at once (depth -1, as
// xfce4-panel and GNOME Shell) or one level at a time (depth 1, as Plasma and lxqt-panel),
// keeps what it was given, and takes the signals addressed to it: the properties, and a
// parent named as changed read again.
struct StandInHost {
  MenuRevisions::Host host;
  int depth;
  std::map<int, MenuProperties> items;
  std::map<int, std::vector<int>> children;

  void Read(MenuRevisions& menu, int parent) {
    const std::optional<MenuRevisions::Node> node = menu.Layout(host, parent, depth, {});
    ASSERT_TRUE(node.has_value());
    Take(*node, depth);
  }
  void Take(const MenuRevisions::Node& node, int levels) {
    for (const auto& [name, value] : node.properties) items[node.id][name] = value;
    if (levels == 0) return;
    children[node.id].clear();
    for (const MenuRevisions::Node& child : node.children) {
      children[node.id].push_back(child.id);
      Take(child, levels - 1);
    }
  }
  // Fails on a property sent that the host already had as it is.
  void Hear(MenuRevisions& menu, const std::vector<MenuRevisions::News>& news) {
    for (const MenuRevisions::News& told : news) {
      if (told.host != host.name) continue;
      for (const auto& item : told.updated) {
        for (const auto& [name, value] : item.properties) {
          const auto had = items[item.id].find(name);
          EXPECT_FALSE(had != items[item.id].end() && had->second == value) << host.name << " told again: " << name;
          items[item.id][name] = value;
        }
      }
      for (const auto& item : told.removed) {
        for (const std::string& name : item.names) items[item.id].erase(name);
      }
      for (int parent : told.changedParents) Read(menu, parent);
    }
  }
  // The labels of the submenu's items that the host shows.
  std::vector<Text> Lines(int submenu) {
    std::vector<Text> lines;
    for (int id : children[submenu]) {
      MenuProperties& item = items[id];
      if (item.count("visible") && !std::get<bool>(item["visible"])) continue;
      lines.push_back(item.count("label") ? std::get<Text>(item["label"]) : u"(blank)");
    }
    return lines;
  }
};

// The labels a host of `rule` is to show for the current submenu.
std::vector<Text> LinesNow(const MenuRevisions& menu, std::string_view submenu, LabelRule rule) {
  std::vector<Text> lines;
  for (const MenuItem& item : menu.Current().menu.Item(submenu).children) {
    if (item.visible) lines.push_back(std::get<Text>(PropertiesOf(item, false, rule).at("label")));
  }
  return lines;
}

TEST(MenuRevisions, AnItemKeepsItsIdThroughEveryRevision) {
  MenuRevisions menu(Listing({u"Alpha"}));
  const struct {
    const char* name;
    int index;
  } items[] = {{"menAbout", -1}, {"menServer", -1}, {"menServerTitle", -1}, {"menServername", 1},
               {"menServername", 48}, {"menSort", 0}, {"menRate", 4}, {"menExit", -1}};
  std::vector<int> ids;
  for (const auto& item : items) ids.push_back(IdOf(menu, item.name, item.index));
  menu.Publish(Listing({u"Beta", u"Alpha"}));
  EXPECT_EQ(menu.Revision(), 2u);
  for (size_t i = 0; i < std::size(items); ++i) {
    EXPECT_EQ(IdOf(menu, items[i].name, items[i].index), ids[i]) << items[i].name;
    EXPECT_NE(ids[i], MenuRevisions::kRootId) << items[i].name;
    const MenuItem* found = menu.Find(ids[i]);
    ASSERT_NE(found, nullptr) << items[i].name;
    EXPECT_EQ(found->name, items[i].name);
    EXPECT_EQ(found->index, items[i].index);
    for (size_t j = 0; j < i; ++j) EXPECT_NE(ids[i], ids[j]) << items[i].name << " and " << items[j].name;
  }
  EXPECT_EQ(menu.IdOf(menu.Current().menu.Root()), MenuRevisions::kRootId);
  EXPECT_EQ(menu.Find(MenuRevisions::kRootId), &menu.Current().menu.Root());
  EXPECT_EQ(menu.Find(9999), nullptr);
  EXPECT_FALSE(menu.Layout(kXfce, 9999, -1, {}).has_value());
}

// Polls that rename, reorder, add and drop servers: every host, whichever way it reads and
// whatever its label rule, shows the current lines from the property signals alone, and
// no poll names a parent as changed (a host would rebuild its items, closing a submenu).
TEST(MenuRevisions, EveryHostShowsTheCurrentLinesThroughPollsFromPropertySignalsAlone) {
  MenuRevisions menu(Listing({}));
  StandInHost hosts[] = {{kXfce, -1, {}, {}}, {kGnome, -1, {}, {}}, {kPlasma, 1, {}, {}}};
  for (StandInHost& host : hosts) host.Read(menu, MenuRevisions::kRootId);
  const int servers = IdOf(menu, "menServer");
  hosts[2].Read(menu, servers);
  const std::vector<std::vector<Text>> polls = {
      {u"Alpha", u"Beta"}, {u"Beta", u"Co_op_Night", u"Alpha"}, {u"__init__", u"_x_ and _x_"}, {}, {u"R&D"}};
  for (const auto& poll : polls) {
    const std::vector<MenuRevisions::News> news = menu.Publish(Listing(poll));
    for (const MenuRevisions::News& told : news) EXPECT_TRUE(told.changedParents.empty()) << told.host;
    for (StandInHost& host : hosts) {
      host.Hear(menu, news);
      EXPECT_EQ(host.Lines(servers), LinesNow(menu, "menServer", host.host.rule)) << host.host.name;
      EXPECT_FALSE(menu.ChangedSinceRead(host.host.name, servers)) << host.host.name;
    }
  }
  EXPECT_NE(hosts[0].Lines(servers), hosts[1].Lines(servers));  // "R&D"'s "&" and the captions' keys
}

TEST(MenuRevisions, APollTellsEachHostOnlyThePropertiesThatChangedAndOneThatChangedNothingTellsNothing) {
  MenuRevisions menu(Listing({u"Alpha"}));
  StandInHost xfce{kXfce, -1, {}, {}};
  xfce.Read(menu, MenuRevisions::kRootId);
  EXPECT_TRUE(menu.Publish(Listing({u"Alpha"})).empty());
  const std::vector<MenuRevisions::News> renamed = menu.Publish(Listing({u"Beta"}));
  ASSERT_EQ(renamed.size(), 1u);
  EXPECT_EQ(renamed[0].host, kXfce.name);
  ASSERT_EQ(renamed[0].updated.size(), 1u);
  EXPECT_EQ(renamed[0].updated[0].id, IdOf(menu, "menServername", 1));
  const MenuProperties expected{{"label", Text(u"Beta")}, {"accessible-desc", Text(u"Beta")}};
  EXPECT_EQ(renamed[0].updated[0].properties, expected);
  EXPECT_TRUE(renamed[0].removed.empty());
  const std::vector<MenuRevisions::News> shown = menu.Publish(Listing({u"Beta", u"Gamma"}));
  ASSERT_EQ(shown.size(), 1u);
  std::vector<int> changed;
  for (const auto& item : shown[0].updated) changed.push_back(item.id);
  const std::vector<int> expectedIds = {IdOf(menu, "menServer"), IdOf(menu, "menServername", 4),
                                        IdOf(menu, "menServername", 5), IdOf(menu, "menServername", 6)};
  EXPECT_EQ(changed, expectedIds);
  EXPECT_EQ(shown[0].updated[2].properties, (MenuProperties{{"visible", true}}));  // an unnamed line shown
}

// A host that asked for only some properties is told of the others only when they change;
// a property that an item no longer has is named as removed.
TEST(MenuRevisions, AHostIsToldOfAPropertyItNeverReadOnlyWhenItChangesAndOfOneThatIsGone) {
  PopupSnapshot first = Listing({u"Alpha"});
  MenuRevisions menu(first);
  const int line = IdOf(menu, "menServername", 1), config = IdOf(menu, "menConfig");
  ASSERT_TRUE(menu.Layout(kGnome, MenuRevisions::kRootId, -1, {"type", "children-display"}).has_value());
  PopupSnapshot renamed = Listing({u"Beta"});
  renamed.menu.Item("menConfig").children.clear();
  const std::vector<MenuRevisions::News> news = menu.Publish(renamed);
  ASSERT_EQ(news.size(), 1u);
  const auto lineNews = std::find_if(news[0].updated.begin(), news[0].updated.end(), [&](const auto& item) { return item.id == line; });
  ASSERT_NE(lineNews, news[0].updated.end());
  EXPECT_EQ(lineNews->properties, (MenuProperties{{"label", Text(u"_Beta")}, {"accessible-desc", Text(u"Beta")}}));
  ASSERT_EQ(news[0].removed.size(), 1u);
  EXPECT_EQ(news[0].removed[0].id, config);
  EXPECT_EQ(news[0].removed[0].names, std::vector<std::string>{"children-display"});
  EXPECT_EQ(news[0].changedParents, std::vector<int>{config});
}

// The Players submenu comes (the ini's watch= line is read) and goes: the parent whose
// children changed is named once, to each host that read it; a host that never read it
// hears nothing, and a host is told nothing of the parent it has not read since.
TEST(MenuRevisions, AParentWhoseChildrenChangeIsNamedOnceToEachHostThatReadIt) {
  MenuRevisions menu(Listing({u"Alpha"}));
  StandInHost xfce{kXfce, -1, {}, {}}, plasma{kPlasma, 1, {}, {}};
  xfce.Read(menu, MenuRevisions::kRootId);
  plasma.Read(menu, MenuRevisions::kRootId);
  std::vector<MenuRevisions::News> news = menu.Publish(WithPlayer({u"Alpha"}, u"Ann    Alpha"));
  ASSERT_EQ(news.size(), 2u);
  for (const MenuRevisions::News& told : news) EXPECT_EQ(told.changedParents, std::vector<int>{MenuRevisions::kRootId});
  EXPECT_TRUE(menu.ChangedSinceRead(kXfce.name, MenuRevisions::kRootId));
  EXPECT_TRUE(menu.Publish(WithPlayer({u"Alpha"}, u"Ann    Alpha")).empty());  // told already
  xfce.Hear(menu, news);
  EXPECT_FALSE(menu.ChangedSinceRead(kXfce.name, MenuRevisions::kRootId));
  EXPECT_TRUE(menu.ChangedSinceRead(kPlasma.name, MenuRevisions::kRootId));
  const int players = IdOf(menu, "menOnline");
  EXPECT_EQ(xfce.Lines(players), (std::vector<Text>{u"Ann    Alpha"}));
  news = menu.Publish(Listing({u"Alpha"}));
  ASSERT_EQ(news.size(), 2u);
  for (const MenuRevisions::News& told : news) EXPECT_EQ(told.changedParents, std::vector<int>{MenuRevisions::kRootId});
}

TEST(MenuRevisions, AboutToShowAnswersWhetherTheSubmenuChangedSinceTheHostReadIt) {
  MenuRevisions menu(Listing({u"Alpha"}));
  const int servers = IdOf(menu, "menServer");
  EXPECT_TRUE(menu.ChangedSinceRead("never read", servers));
  EXPECT_FALSE(menu.ChangedSinceRead("never read", 9999));
  // Given every item's properties, but not which items the submenu holds.
  std::vector<int> items;
  for (const MenuItem& item : menu.Current().menu.Item("menServer").children) items.push_back(menu.IdOf(item));
  EXPECT_EQ(menu.GroupProperties(kGnome, items, {}).size(), 50u);
  EXPECT_TRUE(menu.ChangedSinceRead(kGnome.name, servers));
  StandInHost plasma{kPlasma, 1, {}, {}};
  plasma.Read(menu, MenuRevisions::kRootId);
  EXPECT_FALSE(menu.ChangedSinceRead(kPlasma.name, MenuRevisions::kRootId));
  EXPECT_TRUE(menu.ChangedSinceRead(kPlasma.name, servers));  // its items never read
  plasma.Read(menu, servers);
  EXPECT_FALSE(menu.ChangedSinceRead(kPlasma.name, servers));
  // A host that read only the labels of the items; one of them changes.
  ASSERT_TRUE(menu.Layout(kXfce, MenuRevisions::kRootId, -1, {"label"}).has_value());
  EXPECT_FALSE(menu.ChangedSinceRead(kXfce.name, servers));
  menu.Publish(Listing({u"Beta"}));
  EXPECT_FALSE(menu.ChangedSinceRead(kXfce.name, servers));  // told with the signal
  EXPECT_FALSE(menu.ChangedSinceRead(kPlasma.name, servers));
}

// Plasma and lxqt-panel read a submenu's items when it opens, and Plasma places it while
// it is still empty: each submenu a host knows but whose items it never read is named,
// once; a host that read the whole tree has none.
TEST(MenuRevisions, EachSubmenuAHostNeverReadIsNamedOnce) {
  MenuRevisions menu(Listing({u"Alpha"}));
  StandInHost plasma{kPlasma, 1, {}, {}}, gnome{kGnome, -1, {}, {}};
  plasma.Read(menu, MenuRevisions::kRootId);
  gnome.Read(menu, MenuRevisions::kRootId);
  EXPECT_EQ(menu.SubmenusNeverRead(kPlasma.name),
            (std::vector<int>{IdOf(menu, "menServer"), IdOf(menu, "menPlayer"), IdOf(menu, "menConfig")}));
  EXPECT_TRUE(menu.SubmenusNeverRead(kPlasma.name).empty());
  plasma.Read(menu, IdOf(menu, "menConfig"));
  EXPECT_EQ(menu.SubmenusNeverRead(kPlasma.name), (std::vector<int>{IdOf(menu, "menSorting"), IdOf(menu, "menChecktime")}));
  EXPECT_TRUE(menu.SubmenusNeverRead(kGnome.name).empty());
  EXPECT_TRUE(menu.SubmenusNeverRead("never read").empty());
}

// Alpha was listed first, then a poll listed Beta first.
TEST(MenuRevisions, AClickActsOnTheLineAsTheHostShowedIt) {
  uint64_t now = 0;
  MenuRevisions menu(WithPlayer({u"Alpha", u"Beta"}, u"Ann    Alpha"), [&] { return now; });
  const int firstLine = IdOf(menu, "menServername", 1), playerLine = IdOf(menu, "menOnlinePlayer", 1);
  StandInHost xfce{kXfce, -1, {}, {}};
  xfce.Read(menu, MenuRevisions::kRootId);
  // GNOME's first read: only what makes an item a submenu or a separator, so blank lines.
  ASSERT_TRUE(menu.Layout(kGnome, MenuRevisions::kRootId, -1, {"type", "children-display"}).has_value());
  EXPECT_FALSE(menu.Clicked(kGnome.name, firstLine).has_value());
  EXPECT_FALSE(menu.Clicked("never read", firstLine).has_value());
  const auto beforePoll = menu.Clicked(kXfce.name, firstLine);
  ASSERT_TRUE(beforePoll.has_value());
  EXPECT_EQ(beforePoll->shown->shownServers[1].name, u"Alpha");

  // The poll reorders, and the Players submenu has gone: the host still shows the
  // player's line until it reads the menu again.
  menu.Publish(Listing({u"Beta", u"Alpha"}));
  now += MenuRevisions::kSettleMs;
  const auto line = menu.Clicked(kXfce.name, firstLine);
  ASSERT_TRUE(line.has_value());
  EXPECT_EQ(line->name, "menServername");
  EXPECT_EQ(line->index, 1);
  EXPECT_EQ(line->shown->shownServers[1].name, u"Beta");
  EXPECT_EQ(line->shown->menu.Item("menServername", 1).caption, u"Beta");
  const auto player = menu.Clicked(kXfce.name, playerLine);
  ASSERT_TRUE(player.has_value());
  EXPECT_EQ(player->name, "menOnlinePlayer");
  EXPECT_EQ(player->shown->onlinePlayerServers.at(0).name, u"Alpha");

  menu.GroupProperties(kGnome, {firstLine, 9999}, {});
  const auto gnome = menu.Clicked(kGnome.name, firstLine);
  ASSERT_TRUE(gnome.has_value());
  EXPECT_EQ(gnome->shown->shownServers[1].name, u"Beta");
}

// A host that read some properties of a line but not its label shows a blank line: its
// click joins nothing until it has the label.
TEST(MenuRevisions, AClickOnALineWhoseLabelTheHostNeverHadRunsNothing) {
  uint64_t now = 0;
  MenuRevisions menu(Listing({u"Alpha"}), [&] { return now; });
  const int line = IdOf(menu, "menServername", 1);
  ASSERT_TRUE(menu.Property(kXfce, line, "visible").has_value());
  EXPECT_FALSE(menu.Clicked(kXfce.name, line).has_value());
  EXPECT_EQ(menu.Property(kXfce, line, "label"), MenuProperty(Text(u"Alpha")));
  EXPECT_EQ(menu.Clicked(kXfce.name, line)->shown->shownServers[1].name, u"Alpha");
  EXPECT_FALSE(menu.Property(kXfce, line, "no such property").has_value());
  EXPECT_FALSE(menu.Property(kXfce, 9999, "label").has_value());
  menu.Publish(Listing({u"Beta"}));  // told of the rename
  now += MenuRevisions::kSettleMs;
  EXPECT_EQ(menu.Clicked(kXfce.name, line)->shown->shownServers[1].name, u"Beta");
}

// The host is sent a change of a line while the player clicks it: the click may have
// been aimed at the line as it was, so it joins nothing until the change has settled. A
// change of another line, or of what is not drawn, leaves the line clickable.
TEST(MenuRevisions, AClickRightAfterTheLineChangedRunsNothing) {
  uint64_t now = 1000;
  MenuRevisions menu(Listing({u"Alpha", u"Beta"}), [&] { return now; });
  const int first = IdOf(menu, "menServername", 1), second = IdOf(menu, "menServername", 4);
  ASSERT_TRUE(menu.Layout(kXfce, MenuRevisions::kRootId, -1, {}).has_value());
  menu.Publish(Listing({u"Alpha", u"Gamma"}));
  now += MenuRevisions::kSettleMs - 1;
  EXPECT_FALSE(menu.Clicked(kXfce.name, second).has_value());
  EXPECT_TRUE(menu.Clicked(kXfce.name, first).has_value());
  now += 1;
  EXPECT_EQ(menu.Clicked(kXfce.name, second)->shown->shownServers[2].name, u"Gamma");
  PopupSnapshot checked = Listing({u"Alpha", u"Gamma"});
  checked.menu.Item("menServername", 4).checked = true;  // a check mark alone
  menu.Publish(checked);
  EXPECT_TRUE(menu.Clicked(kXfce.name, second).has_value());
  PopupSnapshot hidden = checked;
  hidden.menu.Item("menServername", 2).visible = false;
  menu.Publish(hidden);
  now += MenuRevisions::kSettleMs;
  menu.Publish(checked);  // shown again
  EXPECT_FALSE(menu.Clicked(kXfce.name, IdOf(menu, "menServername", 2)).has_value());
  EXPECT_TRUE(menu.Clicked(kXfce.name, first).has_value());
}

TEST(MenuRevisions, AClickOnWhatIsNoCommandRunsNothing) {
  PopupSnapshot shown = Listing({u"Alpha"});
  shown.menu.Item("menConfig").visible = false;
  shown.menu.Item("men", 2).enabled = false;
  MenuRevisions menu(shown);
  ASSERT_TRUE(menu.Layout(kXfce, MenuRevisions::kRootId, -1, {}).has_value());
  const struct {
    const char* what;
    int id;
  } cases[] = {
      {"the root", MenuRevisions::kRootId},
      {"a separator", IdOf(menu, "menA")},
      {"a submenu", IdOf(menu, "menServer")},
      {"a hidden line", IdOf(menu, "menServername", 4)},
      {"an item in a hidden submenu", IdOf(menu, "menSound")},
      {"a disabled item", IdOf(menu, "men", 2)},
      {"no item", 9999},
  };
  for (const auto& c : cases) EXPECT_FALSE(menu.Clicked(kXfce.name, c.id).has_value()) << c.what;
  EXPECT_TRUE(menu.Clicked(kXfce.name, IdOf(menu, "menServername", 1)).has_value());
  EXPECT_TRUE(menu.Clicked(kXfce.name, IdOf(menu, "men", 1)).has_value());
  EXPECT_EQ(menu.Clicked(kXfce.name, IdOf(menu, "menExit"))->name, "menExit");
}

// Of 9 hosts the one that called longest ago (":1.9", read first, in an order unlike the
// names') is forgotten; a host that leaves the bus is forgotten; a forgotten host's click
// runs nothing and it hears nothing.
TEST(MenuRevisions, AHostThatLeftOrCalledLongestAgoIsForgotten) {
  MenuRevisions menu(Listing({u"Alpha"}));
  const int line = IdOf(menu, "menServername", 1);
  for (const char* host : {":1.9", ":1.8", ":1.7", ":1.6", ":1.5", ":1.4", ":1.3", ":1.2", ":1.1"}) {
    menu.GroupProperties({host, LabelRule::kMnemonic}, {line}, {});
  }
  EXPECT_EQ(menu.Hosts(), (std::vector<std::string>{":1.1", ":1.2", ":1.3", ":1.4", ":1.5", ":1.6", ":1.7", ":1.8"}));
  EXPECT_FALSE(menu.Clicked(":1.9", line).has_value());
  EXPECT_TRUE(menu.Clicked(":1.8", line).has_value());
  menu.Forget(":1.8");
  EXPECT_FALSE(menu.Clicked(":1.8", line).has_value());
  EXPECT_EQ(menu.Publish(Listing({u"Beta"})).size(), 7u);
  menu.ForgetHosts();
  EXPECT_TRUE(menu.Hosts().empty());
  EXPECT_TRUE(menu.Publish(Listing({u"Gamma"})).empty());
}

}  // namespace
}  // namespace quorvex
