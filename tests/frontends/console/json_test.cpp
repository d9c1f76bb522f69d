#include "frontends/console/json.h"

#include <gtest/gtest.h>

#include "frontends/console/json_output.h"

#include <sstream>

namespace quorvex {
namespace {

TEST(JsonString, EscapesQuotesBackslashesAndEveryControlCharacter) {
  EXPECT_EQ(JsonString(std::string_view("say \"hi\" \\ bye")), R"("say \"hi\" \\ bye")");
  EXPECT_EQ(JsonString(std::string_view("\r\n\t\b\f")), R"("\r\n\t\b\f")");
  EXPECT_EQ(JsonString(std::string_view("a\x01" "b\x1f" "c", 5)), R"("a\u0001b\u001fc")");
  EXPECT_EQ(JsonString(std::string_view("nul\0end", 7)), R"("nul\u0000end")");
  EXPECT_EQ(JsonString(std::string_view("\x7f")), "\"\x7f\"");  // DEL needs no escape
  EXPECT_EQ(JsonString(std::string_view("/")), "\"/\"");
}

TEST(JsonString, WritesTextAsUtf8WithAstralCharactersWhole) {
  EXPECT_EQ(JsonString(Text(u"Sérvér")), "\"S\xC3\xA9rv\xC3\xA9r\"");
  EXPECT_EQ(JsonString(Text(u"\U0001F3AE")), "\"\xF0\x9F\x8E\xAE\"");  // not "\ud83c\udfae"
  EXPECT_EQ(JsonString(Text(u"\u00AF\u00AF")), "\"\xC2\xAF\xC2\xAF\"");
}

TEST(JsonString, ReplacesWhatIsNoUtf8SoTheLineStaysValid) {
  EXPECT_EQ(JsonString(std::string_view("bad \xFF byte")), "\"bad \xEF\xBF\xBD byte\"");
  EXPECT_EQ(JsonString(Text(1, char16_t(0xDC00))), "\"\xEF\xBF\xBD\"");  // an unpaired surrogate
}

TEST(JsonObject, KeepsFieldsInTheOrderTheyWereAdded) {
  JsonObject object;
  object.AddString("ev", "tray").AddBool("popup", false).AddNumber("flags", -7).AddRaw("items", "[1,2]");
  object.AddText("tip", u"a\"b");
  EXPECT_EQ(object.Str(), R"({"ev":"tray","popup":false,"flags":-7,"items":[1,2],"tip":"a\"b"})");
  EXPECT_EQ(JsonObject().Str(), "{}");
}

// The event shapes of docs/console.md, as whole lines.
class JsonOutputTest : public ::testing::Test {
 protected:
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  std::ostringstream out;
  JsonOutput output{out, ConsoleIcons{1, 2}};
};

TEST_F(JsonOutputTest, NamesTheTrayOperationAndTheIcon) {
  TrayIconData data;
  output.Tray(kNimDelete, data);  // the record before the first add: no icon yet
  data.szTip = u"Current max players: N/A";
  data.hIcon = 1;
  data.uFlags = kNifMessage | kNifIcon | kNifTip;
  output.Tray(kNimAdd, data);
  data.hIcon = 2;
  output.Tray(kNimModify, data);
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         R"({"ev":"tray","op":"delete","tip":"","icon":"none"})",
                         R"({"ev":"tray","op":"add","tip":"Current max players: N/A","icon":"normal"})",
                         R"({"ev":"tray","op":"modify","tip":"Current max players: N/A","icon":"alert"})",
                     }));
}

TEST_F(JsonOutputTest, AnAddWithTheInfoFlagIsABalloonWithItsTexts) {
  TrayIconData data;
  data.uFlags = kNifMessage | kNifIcon | kNifTip | kNifInfo;
  data.hIcon = 2;
  data.szInfoTitle = u"Quorvex";
  data.szInfo = u"Player-limit of 4 reached!\r\nPlayers: 4";
  data.dwInfoFlags = 1;
  output.Tray(kNimAdd, data);
  output.Tray(kNimModify, data);  // the flag only makes a balloon of an add
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         R"({"ev":"tray","op":"balloon","tip":"","icon":"alert","title":"Quorvex",)"
                         R"("text":"Player-limit of 4 reached!\r\nPlayers: 4","flags":1})",
                         R"({"ev":"tray","op":"modify","tip":"","icon":"alert"})",
                     }));
}

TEST_F(JsonOutputTest, TheMenuListsEveryItemInDrawingOrderWithIndexOnlyForArrays) {
  MenuTree menu = MakeDesignMenu();
  menu.Item("menSort", 3).checked = true;
  menu.Item("menServername", 2).visible = false;
  output.Menu(menu, true);
  const std::string line = out.str();
  EXPECT_EQ(line.rfind(R"({"ev":"menu","popup":true,"items":[{"name":"menAbout","caption":"&Quorvex",)"
                       R"("visible":true,"checked":false},{"name":"menA","caption":"-",)", 0),
            0u);
  EXPECT_NE(line.find(R"({"name":"menServername","index":2,"caption":"","visible":false,"checked":false})"),
            std::string::npos);
  EXPECT_NE(line.find(R"({"name":"menSort","index":3,"caption":"Players","visible":true,"checked":true})"),
            std::string::npos);
  // A submenu's items come right after it, before the next item of its own level.
  EXPECT_LT(line.find(R"("name":"menSound")"), line.find(R"("name":"menb")"));
  EXPECT_LT(line.find(R"("name":"menRate","index":4)"), line.find(R"("name":"menSound")"));
  EXPECT_EQ(line.find(R"("name":"menPopup")"), std::string::npos);  // the popup itself is no item
  EXPECT_EQ(line.substr(line.size() - 3), "]}\n");
}

TEST_F(JsonOutputTest, TheOtherEvents) {
  output.MessageBox(u"Quorvex", u"Already running....");
  output.Sound(u"bing.wav");
  output.Start(u"\"/home/q/start.bat \"");
  output.File(u"/home/q/start.bat", u"cd..\r\n");
  output.Error("Timer3_Timer", "bad \"thing\"");
  output.Idle();
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         R"({"ev":"msgbox","caption":"Quorvex","text":"Already running...."})",
                         R"({"ev":"sound","name":"bing.wav"})",
                         R"({"ev":"start","command":"\"/home/q/start.bat \""})",
                         R"({"ev":"file","path":"/home/q/start.bat","text":"cd..\r\n"})",
                         R"({"ev":"error","handler":"Timer3_Timer","message":"bad \"thing\""})",
                         R"({"ev":"idle"})",
                     }));
}

}  // namespace
}  // namespace quorvex
