// The console's two printers: JSON lines that stay valid JSON and UTF-8, one a line of each
// event's shape (the menu's is read item by item by console-e2e), and the readable printer
// that shows what changed with the virtual time.
#include <gtest/gtest.h>

#include <sstream>

#include "frontends/console/json.h"
#include "frontends/console/json_output.h"
#include "frontends/console/readable_output.h"

namespace quorvex {
namespace {

TEST(JsonString, EscapesWhatJsonNeedsAndReplacesWhatIsNoUtf8) {
  const std::pair<std::string_view, std::string> bytes[] = {
      {"say \"hi\" \\ bye", R"("say \"hi\" \\ bye")"},
      {"\r\n\t\b\f", R"("\r\n\t\b\f")"},
      {std::string_view("a\x01" "b\x1f" "c\0", 6), R"("a\u0001b\u001fc\u0000")"},
      {"\x7f/", "\"\x7f/\""},  // DEL and "/" need no escape
      {"bad \xFF byte", "\"bad \xEF\xBF\xBD byte\""},
  };
  for (const auto& [in, out] : bytes) EXPECT_EQ(JsonString(in), out) << out;
  EXPECT_EQ(JsonString(Text(u"S\u00e9r \U0001F3AE")), "\"S\xC3\xA9r \xF0\x9F\x8E\xAE\"");  // not "\ud83c..."
  EXPECT_EQ(JsonString(Text(1, char16_t(0xDC00))), "\"\xEF\xBF\xBD\"");
  JsonObject object;
  object.AddString("ev", "tray").AddBool("popup", false).AddNumber("flags", -7).AddRaw("items", "[1,2]");
  EXPECT_EQ(object.Str(), R"({"ev":"tray","popup":false,"flags":-7,"items":[1,2]})");
}

TEST(JsonOutput, EveryEventIsOneLineOfItsShape) {
  std::ostringstream out;
  JsonOutput output{out, ConsoleIcons{1, 2}};
  TrayIconData data;
  output.Tray(kNimDelete, data);  // the record before the first add: no icon yet
  data = TrayIconData{.uFlags = kNifMessage | kNifIcon | kNifTip, .hIcon = 1, .szTip = u"N/A"};
  output.Tray(kNimAdd, data);
  data.uFlags |= kNifInfo;  // an add with the info flag is a balloon, a modify is not
  data.hIcon = 2;
  data.szInfo = u"Player-limit of 4 reached!\r\nPlayers: 4";
  data.szInfoTitle = u"Quorvex";
  data.dwInfoFlags = 1;
  output.Tray(kNimAdd, data);
  output.Tray(kNimModify, data);
  output.MessageBox(u"Quorvex", u"Already running....");
  output.Sound(u"bing.wav");
  output.Start(u"\"/q/start.bat \"");
  output.File(u"/q/start.bat", u"cd..\r\n");
  output.Error("Timer3_Timer", "bad \"thing\"");
  output.Idle();
  EXPECT_EQ(out.str(),
            R"({"ev":"tray","op":"delete","tip":"","icon":"none"})" "\n"
            R"({"ev":"tray","op":"add","tip":"N/A","icon":"normal"})" "\n"
            R"({"ev":"tray","op":"balloon","tip":"N/A","icon":"alert","title":"Quorvex",)"
            R"("text":"Player-limit of 4 reached!\r\nPlayers: 4","flags":1})" "\n"
            R"({"ev":"tray","op":"modify","tip":"N/A","icon":"alert"})" "\n"
            R"({"ev":"msgbox","caption":"Quorvex","text":"Already running...."})" "\n"
            R"({"ev":"sound","name":"bing.wav"})" "\n"
            R"({"ev":"start","command":"\"/q/start.bat \""})" "\n"
            R"({"ev":"file","path":"/q/start.bat","text":"cd..\r\n"})" "\n"
            R"({"ev":"error","handler":"Timer3_Timer","message":"bad \"thing\""})" "\n"
            R"({"ev":"idle"})" "\n");
}

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
