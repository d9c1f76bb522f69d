// The readable printer: what changed, with the virtual time, one item a line.
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
  std::ostringstream out;
  ConsoleClock clock{true};
  ReadableOutput output{out, ConsoleIcons{1, 2}, clock};
};

TEST_F(ReadableOutputTest, TheTrayIsPrintedWhenItsIconOrTooltipChanges) {
  clock.AdvanceTo(20250);
  TrayIconData data{.uFlags = kNifMessage | kNifIcon | kNifTip, .hIcon = 1, .szTip = u"\r\nMax Players:   3\r\n"};
  output.Tray(kNimDelete, TrayIconData{});
  output.Tray(kNimAdd, data);
  EXPECT_EQ(Printed(), "[   20.250] icon: normal\n[   20.250] tooltip:\n    \n    Max Players:   3\n    \n");
  output.Tray(kNimModify, data);
  EXPECT_EQ(Printed(), "");
  data = TrayIconData{.uFlags = kNifMessage | kNifIcon | kNifTip | kNifInfo, .hIcon = 2,
                      .szInfo = u"Player-limit of 8 reached!\r\nPlayers: 9", .szInfoTitle = u"Quorvex"};
  output.Tray(kNimAdd, data);
  EXPECT_EQ(Printed(),
            "[   20.250] balloon: Quorvex\n    Player-limit of 8 reached!\n    Players: 9\n"
            "[   20.250] icon: alert\n[   20.250] tooltip: (empty)\n");
}

TEST_F(ReadableOutputTest, TheServersMenuWhenItChangedAndThePopupWithItsCheckMarks) {
  MenuTree menu = MakeDesignMenu();
  menu.Item("menServer").caption = u"Servers (1)";
  menu.Item("menServerTitle").caption = u"Server\u00B9";
  menu.Item("menServername", 1).caption = u"Alpha 1.80";
  menu.Item("menServername", 2).caption = u"        Ann   Bo";
  menu.Item("menServername", 3).caption = MacronLine();
  for (int i = 4; i <= 48; ++i) menu.Item("menServername", i).visible = false;
  output.Menu(menu, false);
  EXPECT_EQ(Printed(), "[    0.000] servers menu:\n    Servers (1)\n    Server\xC2\xB9\n    Alpha 1.80\n            Ann   Bo\n");
  menu.Item("menSound").checked = true;  // nothing the servers menu shows
  output.Menu(menu, false);
  EXPECT_EQ(Printed(), "");
  output.Menu(menu, true);
  const std::string popup = Printed();
  EXPECT_EQ(popup.rfind("[    0.000] popup:\n        &Quorvex\n    ----\n        Servers (1) >\n", 0), 0u);
  EXPECT_NE(popup.find("\n      [x] Sound\n"), std::string::npos);
  EXPECT_NE(popup.find("\n          4\n"), std::string::npos);  // an item of the limit submenu
}

TEST_F(ReadableOutputTest, MessagesSoundsJoinsAndErrors) {
  output.MessageBox(u"Quorvex", u"Already running....");
  output.Sound(u"bing.wav");
  output.File(u"/q/start.bat", u"cd..\r\n");
  output.Start(u"\"/q/start.bat \"");
  output.Error("menAbout_Click", "no box");
  output.Idle();
  EXPECT_EQ(Printed(),
            "[    0.000] message box \"Quorvex\":\n    Already running....\n[    0.000] sound: bing.wav\n"
            "[    0.000] file /q/start.bat:\n    cd..\n    \n[    0.000] start: \"/q/start.bat \"\n"
            "[    0.000] error in menAbout_Click: no box\n");
}

}  // namespace
}  // namespace quorvex
