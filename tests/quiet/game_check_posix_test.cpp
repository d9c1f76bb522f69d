// The game check against real processes: stand-ins started under the game's names, as the
// kernel and Wine show them in /proc, and look-alikes that must not count.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "quiet/game_check.h"
#include "support/standin_process_posix.h"

namespace quorvex {
namespace {

using testing::CopySleepTo;
using testing::StandInProcess;

class GameCheckPosix : public ::testing::Test {
 protected:
  // A stand-in an earlier test ended (a Wine one among them) may take a moment to be gone.
  void SetUp() override {
    for (int tries = 0; tries < 100 && check_->GameRuns(); ++tries) ::usleep(100'000);
    ASSERT_FALSE(check_->GameRuns()) << "a game process runs on this machine already";
  }
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
  const std::filesystem::path deep =
      folder_ / std::string(250, 'd') / std::string(250, 'e') / std::string(250, 'f') / "Running With Rifles";
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

// The stand-in Windows game started under Wine, as Steam's Proton starts the game: Wine names
// its process after the .exe. Needs Wine and the Windows build: scripts/test runs it in its
// Wine prefix, with QUORVEX_WINE_GAME naming the stand-in (tests/standins).
TEST_F(GameCheckPosix, DISABLED_TheGameUnderWineIsSeen) {
  const char* standIn = std::getenv("QUORVEX_WINE_GAME");
  ASSERT_NE(standIn, nullptr) << "QUORVEX_WINE_GAME names no Windows stand-in to start under Wine";
  StandInProcess wine("/usr/bin/wine", std::vector<std::string>{"/usr/bin/wine", standIn});
  bool seen = false;
  for (int tries = 0; tries < 200 && !seen; ++tries) {
    seen = check_->GameRuns();
    if (!seen) ::usleep(50'000);  // Wine's start-up takes a moment
  }
  EXPECT_TRUE(seen);
  wine.End();
}

// A process that becomes the game after a look saw it as something else (a shell that starts
// the game in its place) is found at the next look while it is young, within eight looks
// once it is older.
TEST_F(GameCheckPosix, AProcessThatBecomesTheGameIsFound) {
  const std::filesystem::path game = folder_ / "rwr_game";
  CopySleepTo(game);
  for (int looksBefore : {1, 3, 4, 12}) {
    const std::string stamp = (folder_ / "go").string();
    StandInProcess shell("/bin/sh", {"sh", "-c", "while [ ! -e '" + stamp + "' ]; do sleep 0.01; done; exec '" +
                                                     game.string() + "' 600"});
    for (int look = 0; look < looksBefore; ++look) EXPECT_FALSE(check_->GameRuns());
    std::ofstream{stamp};
    ::usleep(300'000);
    int looks = 1;
    while (looks <= 8 && !check_->GameRuns()) ++looks;
    if (looksBefore < 4) EXPECT_EQ(looks, 1) << looksBefore << " looks before";
    EXPECT_LE(looks, 8) << looksBefore << " looks before";
    shell.End();
    std::filesystem::remove(stamp);
    EXPECT_FALSE(check_->GameRuns());
  }
}

}  // namespace
}  // namespace quorvex
