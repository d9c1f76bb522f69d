// --readable as a person reads the menu: hidden items and empty rows left out, the program's
// own captions without their access-key marks, the server list's lines character for character.
#include "frontends/console/readable_output.h"

#include <gtest/gtest.h>

#include <sstream>

#include "frontends/console/numbered_icons.h"
#include "menu/server_items.h"

namespace quorvex {
namespace {

MenuItem Item(std::string name, Text caption, int index = -1, std::vector<MenuItem> children = {}) {
  MenuItem item;
  item.name = std::move(name);
  item.index = index;
  item.caption = std::move(caption);
  item.children = std::move(children);
  return item;
}

// The printer on the virtual clock at 0, writing into a string: what one call printed.
struct Readable {
  std::string Menu(const MenuTree& menu, bool popup) {
    out.str({});
    output.Menu(menu, popup);
    return out.str();
  }
  std::string Tray(uint32_t message, const TrayIconData& data) {
    out.str({});
    output.Tray(message, data);
    return out.str();
  }

  std::ostringstream out;
  ConsoleClock clock{true};
  ReadableOutput output{out, ConsoleIcons{}, clock};
};

// What a person notices of the tray: each balloon, its lines split at CR LF or LF, and the
// icon and the tooltip when they change; the delete before every add is no news.
TEST(ReadableOutput, TheTrayShowsEachBalloonAndTheIconAndTooltipWhenTheyChange) {
  const ConsoleIcons icons;
  Readable readable;
  TrayIconData data;
  data.hIcon = icons.normal;
  data.szTip = u"Current max players: 3";
  EXPECT_EQ(readable.Tray(kNimAdd, data),
            "[    0.000] icon: normal\n[    0.000] tooltip:\n    Current max players: 3\n");
  EXPECT_EQ(readable.Tray(kNimModify, data), "");
  data.hIcon = icons.alert;
  data.szTip.clear();
  EXPECT_EQ(readable.Tray(kNimDelete, data), "");
  data.uFlags = kNifInfo;
  data.szInfoTitle = u"Quorvex";
  data.szInfo = u"Player-limit of 4 reached!\r\nPlayers: 4\nBob on Beta";
  EXPECT_EQ(readable.Tray(kNimModify, data),
            "[    0.000] balloon: Quorvex\n    Player-limit of 4 reached!\n    Players: 4\n    Bob on Beta\n"
            "[    0.000] icon: alert\n[    0.000] tooltip: (empty)\n");
  data.uFlags = kNifTip;
  EXPECT_EQ(readable.Tray(kNimModify, data), "");
  // With an iconNumber= line: the icon it was drawn on and the number, again when only it changes.
  ConsoleNumberedIcons numbered;
  data.hIcon = numbered.WithNumber(icons.alert, 12);
  EXPECT_EQ(readable.Tray(kNimModify, data), "[    0.000] icon: alert 12\n");
  data.hIcon = numbered.WithNumber(icons.alert, 0);
  EXPECT_EQ(readable.Tray(kNimModify, data), "[    0.000] icon: alert 0\n");
  data.hIcon = numbered.WithNumber(icons.normal, 0);
  EXPECT_EQ(readable.Tray(kNimModify, data), "[    0.000] icon: normal 0\n");
}

TEST(ReadableOutput, APopupReadsWithoutAccessKeyMarksButListLinesLiterally) {
  MenuItem hidden = Item("menGone", u"&Gone");
  hidden.visible = false;
  MenuItem checked = Item("menSound", u"&Sound");
  checked.checked = true;
  MenuItem hiddenLine = Item("menServername", u"Hidden", 4);
  hiddenLine.visible = false;
  const MenuTree menu(Item(
      "menPopup", u"popup", -1,
      {Item("menAbout", u"&Quorvex"), Item("menA", u"-"),
       Item("menServer", u"&Servers (2)", -1,
            {Item("menServerTitle", u"Name && Co"), Item("menServername", u"A&B_&&C", 1),
             Item("menServername", u"", 2), Item("menServername", u"\u00AF\u00AF", 3), hiddenLine}),
       hidden, checked, Item("menFish", u"Fish &&& Chips&"), Item("menKey", u"&&&x")}));
  EXPECT_EQ(Readable().Menu(menu, true),
            "[    0.000] popup:\n"
            "        Quorvex\n"
            "    ----\n"
            "        Servers (2) >\n"
            "          Name && Co\n"
            "          A&B_&&C\n"
            "          \u00AF\u00AF\n"
            "    [x] Sound\n"
            "        Fish & Chips\n"
            "        &x\n");
}

// Before the first poll every server line is shown but empty: the submenu reads "Servers" alone.
TEST(ReadableOutput, TheFirstScreenShowsTheServersCaptionAlone) {
  EXPECT_EQ(Readable().Menu(MakeDesignMenu(), false), "[    0.000] servers menu:\n    Servers\n");
}

// After a poll of two servers: the title and both servers' two lines, the separator lines of
// the slots left out by their place, whatever they hold, and the hidden items left out.
TEST(ReadableOutput, TheServersMenuShowsTheTitleAndEachServersTwoLines) {
  MenuTree menu = MakeDesignMenu();
  menu.Item("menServer").caption = u"Servers (2)";
  menu.Item("menServerTitle").caption = u"Server & Map";
  for (int slot = 1; slot <= 2; ++slot) {
    const Text n(1, static_cast<char16_t>(u'0' + slot));
    menu.Item("menServername", ServerItemIndex(slot, ServerLine::Server)).caption = u"&" + n + u" server";
    menu.Item("menServername", ServerItemIndex(slot, ServerLine::Players)).caption = u"players of " + n;
    menu.Item("menServername", ServerItemIndex(slot, ServerLine::Separator)).caption = u"rule " + n;
  }
  for (int index = ServerItemIndex(2, ServerLine::Separator); index <= kServerItems; ++index)
    menu.Item("menServername", index).visible = false;
  menu.Item("menServername", ServerItemIndex(3, ServerLine::Server)).caption = u"stale";  // hidden
  Readable readable;
  EXPECT_EQ(readable.Menu(menu, false),
            "[    0.000] servers menu:\n"
            "    Servers (2)\n"
            "    Server & Map\n"
            "    &1 server\n"
            "    players of 1\n"
            "    &2 server\n"
            "    players of 2\n");
  EXPECT_EQ(readable.Menu(menu, false), "");  // unchanged: not printed again
  menu.Item("menServername", ServerItemIndex(2, ServerLine::Players)).visible = false;
  EXPECT_EQ(readable.Menu(menu, false),
            "[    0.000] servers menu:\n    Servers (2)\n    Server & Map\n    &1 server\n    players of 1\n"
            "    &2 server\n");
}

}  // namespace
}  // namespace quorvex
