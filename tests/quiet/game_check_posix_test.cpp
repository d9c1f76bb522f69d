// The game check against real processes: stand-ins started under the game's names, as the
// kernel and Wine show them in /proc, and look-alikes that must not count.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "quiet/game_check.h"
#include "support/standin_process_posix.h"

namespace quorvex {
namespace {

using testing::CopySleepTo;
using testing::StandInProcess;

class GameCheckPosix : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(check_->GameRuns()) << "a game process runs on this machine already"; }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  // Whether the check sees a process of `executable` (a sleep copy made there), started with
  // `firstWord`; after it ended, it must not.
  bool SeenWhileRunning(const std::filesystem::path& executable, const std::string& firstWord) {
    CopySleepTo(executable);
    StandInProcess process(executable, firstWord);
    const bool seen = check_->GameRuns();
    process.End();
    EXPECT_FALSE(check_->GameRuns()) << executable << " ended";
    return seen;
  }
  bool SeenWhileRunning(const std::filesystem::path& executable) { return SeenWhileRunning(executable, executable.string()); }

  std::unique_ptr<GameCheck> check_ = MakeGameCheck();
  std::filesystem::path folder_ = std::filesystem::temp_directory_path() / ("quorvex-game-" + std::to_string(::getpid()));
};

// Wine's process of the game, a native game, both deep in a long path, and a process whose
// name the kernel cut (a loader of over 15 letters) with the game's Windows path as its
// first word, as Wine's preloader shows it.
TEST_F(GameCheckPosix, TheGameUnderWineOrNativeIsSeen) {
  const std::filesystem::path deep = folder_ / std::string(200, 'd') / std::string(200, 'e') / "Running With Rifles";
  EXPECT_TRUE(SeenWhileRunning(folder_ / "rwr_game.exe"));
  EXPECT_TRUE(SeenWhileRunning(folder_ / "rwr_game"));
  EXPECT_TRUE(SeenWhileRunning(deep / "rwr_game.exe"));
  EXPECT_TRUE(SeenWhileRunning(deep / "RWR_Game.EXE"));
  EXPECT_TRUE(SeenWhileRunning(folder_ / "wine64-preloader-x", "Z:\\games\\rwr\\rwr_game.exe"));
  EXPECT_TRUE(SeenWhileRunning(folder_ / "wine64-preloader-y", (deep / "rwr_game").string()));
}

TEST_F(GameCheckPosix, LookAlikesAreNotTheGame) {
  for (const char* name : {"rwr_game.exe.bak", "rwr_game2", "my_rwr_game.exe", "rwr_game.ex", "RWR_GAME", "rwr"})
    EXPECT_FALSE(SeenWhileRunning(folder_ / name)) << name;
  // The game's name only in a folder, or only in a first word the kernel's name makes moot.
  EXPECT_FALSE(SeenWhileRunning(folder_ / "rwr_game.exe" / "launcher-with-long-name", (folder_ / "rwr_game.exe" / "x").string()));
  EXPECT_FALSE(SeenWhileRunning(folder_ / "loader", "rwr_game.exe"));
  EXPECT_FALSE(SeenWhileRunning(folder_ / "wine64-preloader-z", "rwr_game.exe --not-the-first"));
}

}  // namespace
}  // namespace quorvex
