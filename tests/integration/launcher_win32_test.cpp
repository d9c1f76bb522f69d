// Starting the game for real: the Steam window test, start.bat in the console code page, and
// what cannot start. (wine-e2e starts the stand-in game and Steam through joins.)
#include "tray/launcher_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <random>

#include "common/files.h"
#include "tests/integration/test_window_win32.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

Text FromPath(const fs::path& path) {
  const std::wstring wide = path.wstring();
  return Text(wide.begin(), wide.end());
}

// The text in double quotes, as command lines hold paths.
Text Quoted(const Text& text) {
  Text quoted(1, u'"');
  quoted.append(text).push_back(u'"');
  return quoted;
}

class LauncherWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    // Blanks and "&" in the folder, as users' folders have them.
    root_ = fs::temp_directory_path() / (L"quorvex launcher & " + std::to_wstring(std::random_device{}()));
    fs::create_directories(root_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  fs::path root_;
  LauncherWin32 launcher_;
};

TEST_F(LauncherWin32Test, FindsATopLevelWindowByItsExactTitle) {
  EXPECT_FALSE(launcher_.FindWindowByTitle(u"Steam"));
  {
    testing::TestWindow steam(L"Steam");
    // Under Wine a window needs an X display; without one there is nothing to find.
    ASSERT_NE(steam.Handle(), nullptr) << "no window could be made: under Wine, run with an X display (xvfb-run -a)";
    EXPECT_TRUE(launcher_.FindWindowByTitle(u"Steam"));
    EXPECT_FALSE(launcher_.FindWindowByTitle(u"Stea"));
  }
  EXPECT_FALSE(launcher_.FindWindowByTitle(u"Steam"));
}

TEST_F(LauncherWin32Test, TheBatchFileIsInTheConsoleCodePageOrNotWrittenAtAll) {
  const Text path = FromPath(root_ / L"start.bat");
  const Text text = u"pushd \"C:\\Spiele\\Caf\u00e9\"\r\ncd..\r\n";
  launcher_.WriteBatchFile(path, text);
  const std::string bytes = ReadFileBytes(path, 4096);
  // Read back in the console code page it is the same text, and not the ANSI bytes, which
  // cmd.exe would read as other letters.
  std::wstring decoded(bytes.size(), L'\0');
  decoded.resize(MultiByteToWideChar(GetOEMCP(), MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                     decoded.data(), static_cast<int>(decoded.size())));
  EXPECT_EQ(decoded, std::wstring(text.begin(), text.end()));
  if (GetOEMCP() == 437 || GetOEMCP() == 850) {
    EXPECT_NE(bytes.find("Caf\x82\""), std::string::npos);
  }
  EXPECT_NE(GetOEMCP(), GetACP());
  // A letter outside the code page, one it would only approximate (a with macron becomes a
  // plain "a" by best fit), and a broken surrogate: refused, and the old file stays whole.
  for (const Text& bad : {Text(u"pushd C:\\\u65e5\u672c\r\n"), Text(u"pushd C:\\K\u0101ne\r\n"), Text(u"x\xD800y")}) {
    EXPECT_THROW(launcher_.WriteBatchFile(path, bad), LaunchError);
    EXPECT_EQ(ReadFileBytes(path, 100), bytes);
  }
  EXPECT_FALSE(fs::exists(root_ / L"start.bat.new"));
  EXPECT_THROW(launcher_.WriteBatchFile(FromPath(root_ / L"no such folder" / L"start.bat"), u"cd..\r\n"), LaunchError);
}

TEST_F(LauncherWin32Test, AProgramThatCannotStartIsALaunchErrorAndOnlyBatchFilesGoThroughCmd) {
  EXPECT_THROW(launcher_.StartHidden(Quoted(FromPath(root_ / L"missing.exe")) + u" x"), LaunchError);
  EXPECT_THROW(launcher_.StartHidden(u"\"\" -applaunch 270150"), LaunchError);
  EXPECT_TRUE(StartsBatchFile(u"\"C:\\a b\\start.bat \""));
  EXPECT_TRUE(StartsBatchFile(u"C:\\x\\RUN.CMD arg"));
  EXPECT_FALSE(StartsBatchFile(u"\"C:\\Steam\\steam.exe\" -applaunch 270150  server_address=start.bat"));
  EXPECT_FALSE(StartsBatchFile(u"\"C:\\bat\\game.exe\""));
}

}  // namespace
}  // namespace quorvex
