// The tray record handed to the real notification area: every operation the program
// makes must reach the shell and succeed.
#include "tray/tray_shell_win32.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "tests/integration/test_window_win32.h"

namespace quorvex {
namespace {

// Passes each call to the shell and keeps its answer.
class AnsweredShell : public TrayShell {
 public:
  void NotifyIcon(uint32_t message, const TrayIconData& data) override {
    answers.push_back({message, shell.Send(message, data)});
  }
  struct Answer {
    uint32_t message;
    bool succeeded;
    bool operator==(const Answer&) const = default;
    friend void PrintTo(const Answer& answer, std::ostream* out) {
      static const char* const kNames[] = {"add", "modify", "delete"};
      *out << kNames[answer.message] << (answer.succeeded ? " ok" : " failed");
    }
  };
  TrayShellWin32 shell;
  std::vector<Answer> answers;
};

NativeHandle StockIcon() { return reinterpret_cast<NativeHandle>(LoadIconW(nullptr, IDI_APPLICATION)); }

TEST(TrayShellWin32, TheRecordHasTheV2SizeAndItsTextsCutToTheirFields) {
  const TrayIconData data{.hWnd = 0x1234, .uID = 1, .uFlags = kNifMessage | kNifIcon | kNifTip | kNifInfo,
                          .uCallbackMessage = kTrayCallbackMessage, .hIcon = 0x5678, .szTip = u"Current max players: N/A",
                          .szInfo = u"line one\nline two", .szInfoTitle = u"Quorvex", .dwInfoFlags = kNiifInfo};
  const NOTIFYICONDATAW record = ToNotifyIconData(data);
  EXPECT_EQ(record.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE));
  EXPECT_EQ(reinterpret_cast<NativeHandle>(record.hWnd), 0x1234u);
  EXPECT_EQ(record.uFlags, 0x17u);
  EXPECT_EQ(record.uCallbackMessage, 0x200u);
  EXPECT_EQ(reinterpret_cast<NativeHandle>(record.hIcon), 0x5678u);
  EXPECT_STREQ(record.szTip, L"Current max players: N/A");
  EXPECT_STREQ(record.szInfo, L"line one\nline two");
  EXPECT_STREQ(record.szInfoTitle, L"Quorvex");
  EXPECT_EQ(record.dwInfoFlags, 1u);
  EXPECT_EQ(record.uTimeout, 0u);
  const NOTIFYICONDATAW cut =
      ToNotifyIconData({.szTip = Text(300, u'a'), .szInfo = Text(300, u'b'), .szInfoTitle = Text(300, u'c')});
  EXPECT_EQ(std::wstring(cut.szTip), std::wstring(127, L'a'));
  EXPECT_EQ(std::wstring(cut.szInfo), std::wstring(255, L'b'));
  EXPECT_EQ(std::wstring(cut.szInfoTitle), std::wstring(63, L'c'));
}

TEST(TrayShellWin32, AddModifyBalloonAndRemoveSucceed) {
  testing::TestWindow window;
  // Under Wine a window needs an X display; without one CreateWindowExW gives no window and
  // every call below would fail for that reason alone, not for the shell's.
  ASSERT_NE(window.Handle(), nullptr) << "no window could be made: under Wine, run with an X display (xvfb-run -a)";
  AnsweredShell shell;
  TrayIcon tray(shell, reinterpret_cast<NativeHandle>(window.Handle()));
  using Answer = AnsweredShell::Answer;

  tray.AddTrayIcon(u"Current max players: N/A", StockIcon());
  // The first add of a run deletes an icon that is not there: only that may fail.
  EXPECT_EQ(shell.answers, (std::vector<Answer>{{kNimDelete, false}, {kNimAdd, true}}));

  shell.answers.clear();
  tray.ModifyTrayIcon(Text(140, u'x'), StockIcon());
  tray.ShowTrayBalloon(u"Quorvex", u"Player-limit reached\n8 players", u"", kNiifInfo);
  tray.AddTrayIcon(u"Player-limit has been reached", StockIcon());
  tray.RestoreTrayIcon();  // as after the shell restarted: the icon is still there, so it is refused
  tray.RemoveTrayIcon();
  EXPECT_EQ(shell.answers, (std::vector<Answer>{{kNimModify, true},
                                                {kNimDelete, true},
                                                {kNimAdd, true},
                                                {kNimDelete, true},
                                                {kNimAdd, true},
                                                {kNimAdd, false},
                                                {kNimDelete, true}}));

  // Gone: changing it now fails, as a modify of a removed icon must.
  shell.answers.clear();
  tray.ModifyTrayIcon(u"after removal", StockIcon());
  EXPECT_EQ(shell.answers, (std::vector<Answer>{{kNimModify, false}}));
}

}  // namespace
}  // namespace quorvex
