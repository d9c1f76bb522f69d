// The texts of the tray icon record are cut to what the shell holds, never inside a surrogate pair.
// (What each operation writes is compared whole in the Form1 tests.)
#include "tray/trayicon.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quorvex
