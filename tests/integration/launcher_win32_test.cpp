// Starting the game for real: start.bat in the console code page, and what cannot start.
// (wine-e2e joins through the stand-ins of Steam, found by its window, and of the game.)
#include "frontends/win32/launcher.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <random>
#include <string>

#include "common/files.h"

namespace quorvex {
namespace {

TEST(LauncherWin32, TheBatchFileIsInTheConsoleCodePageOrNotWrittenAtAll) {
  // Blanks and "&" in the folder, as users' folders have them.
  const auto folder =
      std::filesystem::temp_directory_path() / (L"quorvex & " + std::to_wstring(std::random_device{}()));
  std::filesystem::create_directories(folder);
  const Text path = (folder / L"start.bat").u16string();
  const Text text = u"pushd \"C:\\Spiele\\Caf\u00e9\"\r\ncd..\r\n";
  LauncherWin32 launcher;
  launcher.WriteBatchFile(path, text);
  // Read back in the console code page it is the same text: not the ANSI bytes, which
  // cmd.exe would read as other letters.
  const std::string bytes = ReadFileBytes(path, 4096);
  std::wstring decoded(bytes.size(), L'\0');
  decoded.resize(MultiByteToWideChar(GetOEMCP(), MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                     decoded.data(), static_cast<int>(decoded.size())));
  EXPECT_EQ(decoded, std::wstring(text.begin(), text.end()));
  // A letter outside the code page, one it would only approximate (a with macron becomes a
  // plain "a" by best fit), and a broken surrogate: refused, and the old file stays whole.
  for (const Text& bad : {Text(u"pushd C:\\\u65e5\u672c\r\n"), Text(u"pushd C:\\K\u0101ne\r\n"), Text(u"x\xD800y")}) {
    EXPECT_THROW(launcher.WriteBatchFile(path, bad), LaunchError);
    EXPECT_EQ(ReadFileBytes(path, 100), bytes);
  }
  EXPECT_THROW(launcher.WriteBatchFile((folder / L"none" / L"start.bat").u16string(), u"cd..\r\n"), LaunchError);

  // What cannot start is a LaunchError; only batch files go through cmd.exe.
  EXPECT_THROW(launcher.StartHidden(Text(u"\"") + (folder / L"missing.exe").u16string() + u"\" x"), LaunchError);
  EXPECT_THROW(launcher.StartHidden(u"\"\" -applaunch 270150"), LaunchError);
  EXPECT_TRUE(StartsBatchFile(u"\"C:\\a b\\start.bat \""));
  EXPECT_TRUE(StartsBatchFile(u"C:\\x\\RUN.CMD arg"));
  EXPECT_FALSE(StartsBatchFile(u"\"C:\\Steam\\steam.exe\" -applaunch 270150  server_address=start.bat"));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quorvex
