// --readable as a person reads the menu: hidden items and empty rows left out, the program's
// own captions without their access-key marks, the server list's lines character for character.
#include "frontends/console/readable_output.h"

#include <gtest/gtest.h>

#include <sstream>

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

// The printer on the virtual clock at 0, writing into a string.
struct Readable {
  std::string Menu(const MenuTree& menu, bool popup) {
    out.str({});
    output.Menu(menu, popup);
    return out.str();
  }

  std::ostringstream out;
  ConsoleClock clock{true};
  ReadableOutput output{out, ConsoleIcons{}, clock};
};

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
