// The texts of the tray icon record are cut to what the shell holds, never inside a surrogate pair;
// the tooltip's summary and the alert's message. (What each operation writes is compared whole
// in the Form1 tests.)
#include <gtest/gtest.h>

#include "tray/tooltip_text.h"
#include "tray/trayicon.h"

namespace quorvex {
namespace {

class LastCallShell : public TrayShell {
 public:
  void NotifyIcon(uint32_t, const TrayIconData& data) override { last = data; }
  TrayIconData last;
};

TEST(TrayIcon, TipBalloonTextAndTitleKeep127And255And63Units) {
  LastCallShell shell;
  TrayIcon icon(shell, 0x30);
  icon.AddTrayIcon(Text(126, u't') + u"\U0001F600", 0x10);  // the pair would be units 127 and 128
  EXPECT_EQ(shell.last.szTip, Text(126, u't'));
  icon.ShowTrayBalloon(Text(70, u'T'), Text(300, u'm'), Text(128, u'x'), kNiifInfo);
  EXPECT_EQ(shell.last.szTip, Text(127, u'x'));
  EXPECT_EQ(shell.last.szInfo, Text(255, u'm'));
  EXPECT_EQ(shell.last.szInfoTitle, Text(63, u'T'));
}

TEST(TooltipText, TheTooltipAndTheAlertMessage) {
  EXPECT_EQ(SummaryText({12, 34, 10, 16, 3}, 2),
            u"\r\nMax Players:   12\r\n__________________\r\n\r\nTotal Players:    34\r\n"
            u"Servers Online: 10\r\nPlayer-Limit:     16\r\nServer Watchers: 3\r\n ");
  EXPECT_EQ(SummaryText({-1, 0, 0, 4, -2}, 4),
            u"\r\nMax Players:    -1\r\n__________________\r\n\r\nTotal Players:    0\r\n"
            u"Servers Online: 0\r\nPlayer-Limit:     4\r\nServer Watchers: -2\r\n ");
  EXPECT_EQ(AlertMessage(16, 17), u"Player-limit of 16 reached!\r\nPlayers: 17");
}

}  // namespace
}  // namespace quorvex
