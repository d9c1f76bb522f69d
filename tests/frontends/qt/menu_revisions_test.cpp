#include "frontends/qt/menu_revisions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

int IdOf(const MenuRevisions& menu, std::string_view name, int index = -1) {
  return menu.IdOf(menu.Current().menu.Item(name, index));
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
  EXPECT_EQ(menu.Publish(Listing({u"Beta", u"Alpha"})), 2u);
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
}

// Alpha was listed first, then a poll listed Beta first: the first line of what each
// host read last.
TEST(MenuRevisions, AClickActsOnTheLineAsTheHostReadIt) {
  const struct {
    const char* what;
    std::vector<const char*> readsBeforePoll, readsAfterPoll;
    const char* clicker;
    const char16_t* joined;
  } cases[] = {
      {"read before the poll", {"host"}, {}, "host", u"Alpha"},
      {"read again after it", {"host"}, {"host"}, "host", u"Beta"},
      {"another host's read", {"host"}, {"other"}, "host", u"Alpha"},
      {"never read: the current menu", {"host"}, {}, "stranger", u"Beta"},
  };
  for (const auto& c : cases) {
    MenuRevisions menu(Listing({u"Alpha", u"Beta"}));
    const int firstLine = IdOf(menu, "menServername", 1);
    for (const char* reader : c.readsBeforePoll) menu.ReadBy(reader);
    menu.Publish(Listing({u"Beta", u"Alpha"}));
    for (const char* reader : c.readsAfterPoll) menu.ReadBy(reader);
    const auto click = menu.Clicked(c.clicker, firstLine);
    ASSERT_TRUE(click.has_value()) << c.what;
    EXPECT_EQ(click->name, "menServername") << c.what;
    EXPECT_EQ(click->index, 1) << c.what;
    EXPECT_EQ(click->shown->shownServers[1].name, c.joined) << c.what;
    EXPECT_EQ(click->shown->menu.Item("menServername", 1).caption, c.joined) << c.what;
  }
}

TEST(MenuRevisions, AClickOnWhatIsNoCommandRunsNothing) {
  MenuRevisions menu(Listing({u"Alpha"}));
  menu.ReadBy("host");
  PopupSnapshot hiddenConfig = Listing({u"Alpha"});
  hiddenConfig.menu.Item("menConfig").visible = false;
  const struct {
    const char* what;
    int id;
  } cases[] = {
      {"the root", MenuRevisions::kRootId},
      {"a separator", IdOf(menu, "menA")},
      {"a submenu", IdOf(menu, "menServer")},
      {"a hidden line", IdOf(menu, "menServername", 4)},
      {"an item in a hidden submenu", IdOf(menu, "menSound")},
      {"no item", 9999},
  };
  menu.Publish(hiddenConfig);
  menu.ReadBy("host");
  for (const auto& c : cases) EXPECT_FALSE(menu.Clicked("host", c.id).has_value()) << c.what;
  EXPECT_TRUE(menu.Clicked("host", IdOf(menu, "menServername", 1)).has_value());
  EXPECT_TRUE(menu.Clicked("host", IdOf(menu, "menExit")).has_value());
}

// A menu whose later revision lost an item: its id finds nothing there, in the revision a
// host read before it still the item. Of 9 readers the one that read longest ago ("z", read
// first, in an order unlike the names') is forgotten first and clicks on the current menu.
TEST(MenuRevisions, AnItemGoneFromARevisionIsNotFoundInItAndTheHostThatReadLongestAgoIsForgotten) {
  MenuRevisions menu(Listing({u"Alpha"}));
  const int about = IdOf(menu, "menAbout"), line = IdOf(menu, "menServername", 1);
  for (const char* reader : {"z", "y"}) menu.ReadBy(reader);
  menu.Publish(PopupSnapshot{MenuTree(MenuItem{"menPopup", -1, u"popup", true, false, true, {MenuItem{"menExit", -1, u"&Exit"}}}),
                             {}});
  EXPECT_EQ(menu.Find(about), nullptr);
  EXPECT_FALSE(menu.Clicked("reader of the new menu", about).has_value());
  EXPECT_EQ(menu.Clicked("y", about)->name, "menAbout");
  menu.Publish(Listing({u"Beta"}));
  for (const char* reader : {"h", "g", "f", "e", "d", "c", "b"}) menu.ReadBy(reader);
  EXPECT_EQ(menu.Clicked("z", line)->shown->shownServers[1].name, u"Beta");   // forgotten: the current menu
  EXPECT_EQ(menu.Clicked("y", line)->shown->shownServers[1].name, u"Alpha");  // still remembered
  EXPECT_EQ(menu.Clicked("b", line)->shown->shownServers[1].name, u"Beta");
}

}  // namespace
}  // namespace quorvex
