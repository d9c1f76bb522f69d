// The game among the processes Toolhelp lists, or the shell saying the user does not want to
// be disturbed (a full-screen game or program, a presentation, quiet time).
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include "common/kernel_handle_win32.h"
#include "common/text.h"
#include "quiet/game_check.h"

namespace quorvex {

namespace {

bool ShellSaysBusy() {
  QUERY_USER_NOTIFICATION_STATE state{};
  if (FAILED(SHQueryUserNotificationState(&state))) return false;
  return state == QUNS_BUSY || state == QUNS_RUNNING_D3D_FULL_SCREEN || state == QUNS_PRESENTATION_MODE ||
         state == QUNS_QUIET_TIME;
}

bool GameProcessRuns() {
  const FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.valid()) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    if (IsGameExecutable(reinterpret_cast<const char16_t*>(entry.szExeFile))) return true;
  }
  return false;
}

class ProcessListGameCheck final : public GameCheck {
 public:
  bool GameRuns() override { return ShellSaysBusy() || GameProcessRuns(); }
};

}  // namespace

std::unique_ptr<GameCheck> MakeGameCheck() { return std::make_unique<ProcessListGameCheck>(); }

}  // namespace quorvex
