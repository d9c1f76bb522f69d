// The Players submenu in the menu tree: where it goes, which lines and which note it shows for
// how many players online, and which captions every front end shows literally.
#include "menu/players_menu.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "common/numbers.h"

namespace quorvex {
namespace {

// "name index caption" of every item, depth first.
std::vector<std::string> Flat(const MenuItem& parent) {
  std::vector<std::string> items;
  for (const MenuItem& child : parent.children) {
    items.push_back(child.name + " " + std::to_string(child.index) + " " + ToUtf8(child.caption));
    for (std::string& below : Flat(child)) items.push_back(std::move(below));
  }
  return items;
}

// Right after the Servers submenu, before Player-Limit; every other item as designed.
TEST(PlayersMenu, GoesRightAfterTheServersSubmenuAndLeavesTheRestAsDesigned) {
  MenuTree menu = MakeDesignMenu();
  const std::vector<std::string> design = Flat(menu.Root());
  AddPlayersMenu(menu);
  std::vector<std::string> top;
  for (const MenuItem& item : menu.Root().children) top.push_back(item.name);
  EXPECT_EQ(top, (std::vector<std::string>{"menAbout", "menA", "menServer", "menOnline", "menPlayer", "menConfig",
                                           "menb", "menExit"}));
  std::vector<std::string> others = Flat(menu.Root());
  const auto players = others.begin() + 2 + 2 + 48 + 1;  // after the servers submenu's items
  EXPECT_EQ(*players, "menOnline -1 Players (0)");
  others.erase(players, players + 1 + kPlayerLines + 1);
  EXPECT_EQ(others, design);
  // The lookup follows the items the insert moved.
  menu.Item("menExit").caption = u"x";
  menu.Item("menServername", 48).caption = u"y";
  EXPECT_EQ(menu.Root().children.back().caption, u"x");
  EXPECT_EQ(menu.Root().children[2].children.back().caption, u"y");
  const MenuItem& note = menu.Item("menOnlineNote");
  EXPECT_EQ(std::tie(note.caption, note.visible, note.enabled), std::make_tuple(Text(u"nobody watched is online"), true, false));
  EXPECT_FALSE(menu.Item("menOnlinePlayer", 1).visible);
}

TEST(MenuTree, InsertsAfterASingleControlInItsOwnSubmenuOrThrows) {
  MenuTree menu = MakeDesignMenu();
  MenuItem item;
  item.name = "menNew";
  menu.InsertAfter("menSound", item);
  EXPECT_EQ(menu.Item("menConfig").children.back().name, "menNew");
  EXPECT_THROW(menu.InsertAfter("menNothing", item), std::out_of_range);
  EXPECT_THROW(menu.InsertAfter("menServername", item), std::out_of_range);  // an array, not a control
  const MenuTree copy = menu;
  menu.Item("menNew").caption = u"changed";
  EXPECT_EQ(copy.Item("menNew").caption, u"");
}

// The lines of `count` players "p1", "p2", ...
std::vector<Text> Players(int count) {
  std::vector<Text> lines;
  for (int i = 1; i <= count; ++i) lines.push_back(u"p" + FormatPlain(i) + u"    S");
  return lines;
}

// Up to 32 lines, then a disabled line for the rest; a disabled line for nobody; a shorter
// list hides the lines of a longer one before it.
TEST(PlayersMenu, ShowsALineAPlayerUpTo32AndADisabledNoteForTheRestOrForNobody) {
  const std::tuple<int, int, Text> cases[] = {  // online, lines shown, the note ("" hidden)
      {0, 0, u"nobody watched is online"}, {1, 1, u""},          {31, 31, u""},           {32, 32, u""},
      {33, 32, u"and 1 more"},             {100, 32, u"and 68 more"}, {2, 2, u""}, {0, 0, u"nobody watched is online"},
  };
  MenuTree menu = MakeDesignMenu();
  AddPlayersMenu(menu);
  for (const auto& [online, shown, note] : cases) {
    SCOPED_TRACE(online);
    WritePlayersMenu(menu, Players(online));
    EXPECT_EQ(menu.Item("menOnline").caption, u"Players (" + FormatPlain(online) + u")");
    for (int line = 1; line <= kPlayerLines; ++line) {
      const MenuItem& item = menu.Item("menOnlinePlayer", line);
      EXPECT_EQ(item.visible, line <= shown) << line;
      EXPECT_EQ(item.caption, line <= shown ? u"p" + FormatPlain(line) + u"    S" : u"") << line;
      EXPECT_TRUE(item.enabled);
    }
    const MenuItem& noteItem = menu.Item("menOnlineNote");
    EXPECT_EQ(std::tie(noteItem.caption, noteItem.visible, noteItem.enabled), std::make_tuple(note, !note.empty(), false));
  }
}

// Names from the list are shown as they are; the program's own captions keep their access keys.
TEST(ShowsCaptionLiterally, TheListsTextsAndNothingElse) {
  MenuTree menu = MakeDesignMenu();
  AddPlayersMenu(menu);
  const std::tuple<std::string, int, bool> items[] = {
      {"menServername", 1, true}, {"menServerTitle", -1, true}, {"menOnlinePlayer", 32, true},
      {"menOnline", -1, false},   {"menOnlineNote", -1, false}, {"menServer", -1, false},
      {"menAbout", -1, false},    {"menExit", -1, false},       {"menblub", -1, false},
  };
  for (const auto& [name, index, literal] : items) EXPECT_EQ(ShowsCaptionLiterally(menu.Item(name, index)), literal) << name;
}

}  // namespace
}  // namespace quorvex
