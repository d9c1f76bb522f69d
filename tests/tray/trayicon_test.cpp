// The one tray icon record: what each operation writes, and the lengths the shell holds.
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

TEST(TrayIcon, EachOperationWritesItsFieldsAndCutsTextsWithoutSplittingAPair) {
  RecordingShell shell;
  TrayIcon icon(shell, 0x30);
  const Text pairAt127 = Text(126, u't') + u"\U0001F600";  // units 127 and 128
  icon.AddTrayIcon(pairAt127, 0x10);
  const TrayIconData shown{.hWnd = 0x30, .uID = 1, .uFlags = 7, .uCallbackMessage = 0x200, .hIcon = 0x10,
                           .szTip = Text(126, u't')};
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[0], std::make_pair(kNimDelete, TrayIconData{}));
  EXPECT_EQ(shell.calls[1], std::make_pair(kNimAdd, shown));
  icon.ShowTrayBalloon(Text(70, u'T'), Text(300, u'm'), Text(127, u'x') + u"y", 1);  // no icon: the last one stays
  TrayIconData balloon = shown;
  balloon.uFlags = 0x17;
  balloon.szTip = Text(127, u'x');
  balloon.szInfo = Text(255, u'm');
  balloon.szInfoTitle = Text(63, u'T');
  balloon.dwInfoFlags = 1;
  EXPECT_EQ(shell.calls[2], std::make_pair(kNimDelete, shown));
  EXPECT_EQ(shell.calls[3], std::make_pair(kNimAdd, balloon));
  icon.ModifyTrayIcon(u"tip", 0x20);  // keeps the balloon's texts, drops its flag
  TrayIconData modified = balloon;
  modified.uFlags = 7;
  modified.szTip = u"tip";
  modified.hIcon = 0x20;
  EXPECT_EQ(shell.calls[4], std::make_pair(kNimModify, modified));
  icon.ShowTrayBalloon(u"t", u"m", u"", 1, 0x40);
  icon.RestoreTrayIcon();  // the balloon has long gone: it is not shown again
  TrayIconData restored = icon.Data();
  restored.uFlags &= ~kNifInfo;
  EXPECT_EQ(shell.calls.back(), std::make_pair(kNimAdd, restored));
  EXPECT_EQ(restored.hIcon, 0x40u);
  icon.RemoveTrayIcon();
  EXPECT_EQ(shell.calls.back(), std::make_pair(kNimDelete, icon.Data()));
}

}  // namespace
}  // namespace quorvex
