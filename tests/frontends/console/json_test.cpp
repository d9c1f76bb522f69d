// The console's JSON lines: strings that stay valid JSON and UTF-8, and every event's shape
// but the menu's, which console-e2e reads item by item.
#include "frontends/console/json.h"

#include <gtest/gtest.h>

#include <sstream>

#include "frontends/console/json_output.h"

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

}  // namespace
}  // namespace quorvex
