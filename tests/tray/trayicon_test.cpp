// The one tray icon record: the texts cut to the lengths the shell holds, and what a balloon
// and a later change leave in it. (Form1's tests check the record of each operation as the
// program uses it; the tray shell's integration test the messages under Wine.)
#include "tray/trayicon.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvex {
namespace {

class RecordingShell : public TrayShell {
 public:
  void NotifyIcon(uint32_t message, const TrayIconData& data) override { calls.emplace_back(message, data); }
  std::vector<std::pair<uint32_t, TrayIconData>> calls;
};

TEST(TrayIcon, TextsAreCutWithoutSplittingAPairAndAChangeDropsTheBalloonFlag) {
  RecordingShell shell;
  TrayIcon icon(shell, 0x30);
  icon.AddTrayIcon(Text(126, u't') + u"\U0001F600", 0x10);  // the pair would be units 127 and 128
  EXPECT_EQ(shell.calls.back().second.szTip, Text(126, u't'));
  icon.ShowTrayBalloon(Text(70, u'T'), Text(300, u'm'), Text(127, u'x') + u"y", 1);  // no icon: the last one stays
  TrayIconData balloon{.hWnd = 0x30, .uID = 1, .uFlags = 0x17, .uCallbackMessage = 0x200, .hIcon = 0x10,
                       .szTip = Text(127, u'x'), .szInfo = Text(255, u'm'), .szInfoTitle = Text(63, u'T'),
                       .dwInfoFlags = 1};
  EXPECT_EQ(shell.calls.back(), std::make_pair(kNimAdd, balloon));
  icon.ModifyTrayIcon(u"tip", 0x20);  // keeps the balloon's texts, drops its flag
  balloon.uFlags = 7;
  balloon.szTip = u"tip";
  balloon.hIcon = 0x20;
  EXPECT_EQ(shell.calls.back(), std::make_pair(kNimModify, balloon));
  icon.ShowTrayBalloon(u"t", u"m", u"", 1, 0x40);
  EXPECT_EQ(shell.calls.back().second.hIcon, 0x40u);
}

}  // namespace
}  // namespace quorvex
