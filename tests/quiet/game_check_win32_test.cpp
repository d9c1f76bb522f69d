// The Windows game check against real processes: the stand-in game (tests/standins, built as
// rwr_game.exe) started and ended, and a copy of it under a look-alike name.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "common/kernel_handle_win32.h"
#include "quiet/game_check.h"

namespace quorvex {
namespace {

std::filesystem::path StandInGame() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(std::wstring(path, length)).parent_path() / L"standins" / L"rwr_game.exe";
}

// A program started without arguments (the stand-in then waits for messages), ended when the
// object goes.
class RunningProgram {
 public:
  explicit RunningProgram(const std::filesystem::path& program) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
      throw std::runtime_error("cannot start " + program.string());
    process_.Reset(started.hProcess);
    CloseHandle(started.hThread);
    WaitForInputIdle(process_.get(), 10000);  // its window made: it runs
  }
  ~RunningProgram() { End(); }
  void End() {
    if (!process_.valid()) return;
    TerminateProcess(process_.get(), 0);
    WaitForSingleObject(process_.get(), 10000);
    process_.Reset();
  }

 private:
  KernelHandle process_;
};

TEST(GameCheckWin32, TheGameIsSeenWhileItRunsAndALookAlikeIsNot) {
  const std::unique_ptr<GameCheck> check = MakeGameCheck();
  ASSERT_FALSE(check->GameRuns()) << "a game runs, or the shell says the user is busy";
  {
    RunningProgram game(StandInGame());
    EXPECT_TRUE(check->GameRuns());
    game.End();
    EXPECT_FALSE(check->GameRuns());
  }
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / L"quorvex-game-check";
  std::filesystem::create_directories(folder);
  for (const wchar_t* name : {L"RWR_GAME.EXE", L"rwr_game2.exe", L"my_rwr_game.exe"}) {
    const std::filesystem::path copy = folder / name;
    std::filesystem::copy_file(StandInGame(), copy, std::filesystem::copy_options::overwrite_existing);
    RunningProgram program(copy);
    EXPECT_EQ(check->GameRuns(), name[0] == L'R') << copy.string();
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quorvex
