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

TEST(TrayShellWin32, RecordHasTheV2SizeAndTheTextsWithTheirNul) {
  TrayIconData data;
  data.hWnd = 0x1234;
  data.uID = 1;
  data.uFlags = kNifMessage | kNifIcon | kNifTip | kNifInfo;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = 0x5678;
  data.szTip = u"Current max players: N/A";
  data.szInfo = u"line one\nline two";
  data.szInfoTitle = u"Quorvex";
  data.dwInfoFlags = kNiifInfo;
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
}

TEST(TrayShellWin32, TextsTooLongForTheirFieldsAreCutNotOverrun) {
  TrayIconData data;
  data.szTip = Text(300, u'a');
  data.szInfo = Text(300, u'b');
  data.szInfoTitle = Text(300, u'c');
  const NOTIFYICONDATAW record = ToNotifyIconData(data);
  EXPECT_EQ(std::wstring(record.szTip), std::wstring(127, L'a'));
  EXPECT_EQ(std::wstring(record.szInfo), std::wstring(255, L'b'));
  EXPECT_EQ(std::wstring(record.szInfoTitle), std::wstring(63, L'c'));
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
