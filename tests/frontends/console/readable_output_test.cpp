#include "frontends/console/readable_output.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quorvex {
namespace {

class ReadableOutputTest : public ::testing::Test {
 protected:
  // What was printed since the last look.
  std::string Printed() {
    std::string text = out.str();
    out.str("");
    return text;
  }
  static TrayIconData Icon(const Text& tip, NativeHandle icon) {
    TrayIconData data;
    data.uFlags = kNifMessage | kNifIcon | kNifTip;
    data.szTip = tip;
    data.hIcon = icon;
    return data;
  }
  std::ostringstream out;
  ConsoleClock clock{true};
  ReadableOutput output{out, ConsoleIcons{1, 2}, clock};
};

TEST_F(ReadableOutputTest, TheTooltipAndTheIconArePrintedWhenTheyChange) {
  clock.AdvanceTo(20250);
  output.Tray(kNimDelete, TrayIconData{});
  output.Tray(kNimAdd, Icon(u"\r\nMax Players:   3\r\n", 1));
  EXPECT_EQ(Printed(),
            "[   20.250] icon: normal\n"
            "[   20.250] tooltip:\n"
            "    \n"
            "    Max Players:   3\n"
            "    \n");
  output.Tray(kNimModify, Icon(u"\r\nMax Players:   3\r\n", 1));
  EXPECT_EQ(Printed(), "");
  output.Tray(kNimModify, Icon(u"\r\nMax Players:   3\r\n", 2));
  EXPECT_EQ(Printed(), "[   20.250] icon: alert\n");
}

TEST_F(ReadableOutputTest, ABalloonShowsItsTitleAndText) {
  TrayIconData data = Icon(u"", 2);
  data.uFlags |= kNifInfo;
  data.szInfoTitle = u"Quorvex";
  data.szInfo = u"Player-limit of 8 reached!\r\nPlayers: 9";
  output.Tray(kNimAdd, data);
  EXPECT_EQ(Printed(),
            "[    0.000] balloon: Quorvex\n"
            "    Player-limit of 8 reached!\n"
            "    Players: 9\n"
            "[    0.000] icon: alert\n"
            "[    0.000] tooltip: (empty)\n");
}

TEST_F(ReadableOutputTest, TheServersMenuIsPrintedWhenItChangedWithoutItsSeparators) {
  MenuTree menu = MakeDesignMenu();
  menu.Item("menServer").caption = u"Servers (1)";
  menu.Item("menServerTitle").caption = u"Server\u00B9";
  menu.Item("menServername", 1).caption = u"Alpha 1.80";
  menu.Item("menServername", 2).caption = u"        Ann   Bo";
  menu.Item("menServername", 3).caption = MacronLine();
  for (int i = 4; i <= 48; ++i) menu.Item("menServername", i).visible = false;
  output.Menu(menu, false);
  EXPECT_EQ(Printed(),
            "[    0.000] servers menu:\n"
            "    Servers (1)\n"
            "    Server\xC2\xB9\n"
            "    Alpha 1.80\n"
            "            Ann   Bo\n");
  menu.Item("menSound").checked = true;  // nothing the servers menu shows
  output.Menu(menu, false);
  EXPECT_EQ(Printed(), "");
  menu.Item("menServername", 1).caption = u"Alpha 1.81";
  output.Menu(menu, false);
  EXPECT_NE(Printed().find("    Alpha 1.81\n"), std::string::npos);
}

TEST_F(ReadableOutputTest, ThePopupShowsTheShownItemsWithTheirCheckMarks) {
  MenuTree menu = MakeDesignMenu();
  for (int i = 1; i <= 48; ++i) menu.Item("menServername", i).visible = false;
  menu.Item("menSound").checked = true;
  output.Menu(menu, true);
  const std::string printed = Printed();
  EXPECT_EQ(printed.rfind("[    0.000] popup:\n        &Quorvex\n    ----\n        &Servers >\n", 0), 0u);
  EXPECT_NE(printed.find("\n      [x] Sound\n"), std::string::npos);
  EXPECT_NE(printed.find("\n          4\n"), std::string::npos);  // an item of the limit submenu
}

TEST_F(ReadableOutputTest, MessagesSoundsJoinsAndErrors) {
  output.MessageBox(u"Quorvex", u"Already running....");
  output.Sound(u"bing.wav");
  output.File(u"/q/start.bat", u"cd..\r\n");
  output.Start(u"\"/q/start.bat \"");
  output.Error("menAbout_Click", "no box");
  output.Idle();
  EXPECT_EQ(Printed(),
            "[    0.000] message box \"Quorvex\":\n"
            "    Already running....\n"
            "[    0.000] sound: bing.wav\n"
            "[    0.000] file /q/start.bat:\n"
            "    cd..\n"
            "    \n"
            "[    0.000] start: \"/q/start.bat \"\n"
            "[    0.000] error in menAbout_Click: no box\n");
}

}  // namespace
}  // namespace quorvex
