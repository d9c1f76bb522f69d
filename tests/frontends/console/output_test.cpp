// The console's two printers: JSON lines that stay valid JSON and UTF-8 (console-e2e reads the
// events' fields), and the readable printer that shows what changed with the virtual time.
#include <gtest/gtest.h>

#include <sstream>

#include "frontends/console/json.h"
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
}

// The tray is printed only when its icon or its tooltip changed, a balloon whenever it comes.
TEST(ReadableOutput, PrintsTheTrayWhenItsIconOrTooltipChanged) {
  std::ostringstream out;
  ConsoleClock clock{true};
  ReadableOutput output{out, ConsoleIcons{1, 2}, clock};
  clock.AdvanceTo(20250);
  TrayIconData data{.uFlags = kNifMessage | kNifIcon | kNifTip, .hIcon = 1, .szTip = u"\r\nMax Players:   3\r\n"};
  output.Tray(kNimAdd, data);
  output.Tray(kNimModify, data);
  data = TrayIconData{.uFlags = kNifMessage | kNifIcon | kNifTip | kNifInfo, .hIcon = 2,
                      .szInfo = u"Player-limit of 8 reached!\r\nPlayers: 9", .szInfoTitle = u"Quorvex"};
  output.Tray(kNimAdd, data);
  EXPECT_EQ(out.str(), "[   20.250] icon: normal\n[   20.250] tooltip:\n    \n    Max Players:   3\n    \n"
                       "[   20.250] balloon: Quorvex\n    Player-limit of 8 reached!\n    Players: 9\n"
                       "[   20.250] icon: alert\n[   20.250] tooltip: (empty)\n");
}

}  // namespace
}  // namespace quorvex
