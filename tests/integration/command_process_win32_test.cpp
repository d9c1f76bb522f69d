// The notifyCommand on Windows for real: the splitter's cases against Windows' own
// CommandLineToArgvW, and the runner with the command interpreter.
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <regex>

#include "common/files.h"
#include "notify/command_line_cases.h"
#include "notify/command_runner.h"

namespace quorvex {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::StartsWith;

std::vector<Text> WindowsWords(const Text& line) {
  int count = 0;
  wchar_t** words = CommandLineToArgvW(reinterpret_cast<const wchar_t*>(line.c_str()), &count);
  std::vector<Text> texts;
  for (int i = 0; i < count; ++i) texts.emplace_back(reinterpret_cast<const char16_t*>(words[i]));
  LocalFree(words);
  return texts;
}

// How many processes of this name run (ping.exe, started by the command's cmd.exe).
int Running(const wchar_t* name) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    count += _wcsicmp(entry.szExeFile, name) == 0 ? 1 : 0;
  }
  CloseHandle(snapshot);
  return count;
}

TEST(CommandLineWin32, CommandLineToArgvWSplitsEveryCaseIntoItsWords) {
  for (const auto& [line, words] : testing::CommandLineCases()) {
    EXPECT_EQ(WindowsWords(line), words) << ToUtf8(line);  // and the unit tier: SplitCommandLine too
  }
}

TEST(CommandProcessWin32, TheCommandGetsTheBalloonInItsEnvironmentAndItsFailuresAreTold) {
  const auto folder =
      std::filesystem::temp_directory_path() / (L"quorvex notify " + std::to_wstring(std::random_device{}()));
  std::filesystem::create_directories(folder);
  const Text output = (folder / L"set.txt").u16string();
  SetEnvironmentVariableW(L"QUORVEX_TEXT", L"an old value");
  {
    CommandRunner runner(MakeSystemCommandStarter());
    // cmd prints the variables as they are: nothing in them is read as a command.
    // (The redirection first: Wine's cmd would read a blank after the name as part of it.)
    const ServerRecord server{.name = u"S&1 %PATH%", .address = u"127.0.0.5", .port = 40005,
                              .fromLatestReply = kEveryFieldBit};
    runner.Submit(u"cmd /c >\"" + output + u"\" set QUORVEX_",
                  Notification{NotifyEvent::Limit, u"Quorvex", u"a&calc \"$(id)\" %TEMP%\r\n^|x", server});
    runner.Submit(u"cmd /c exit 3", Notification{});
    runner.Submit(u"quorvex-no-such-program", Notification{});
    ASSERT_TRUE(runner.WaitUntilIdle(20s));
    EXPECT_THAT(runner.TakeReports(),
                ElementsAre("notifyCommand \"cmd\" ended with exit code 3",
                            StartsWith("notifyCommand \"quorvex-no-such-program\" could not be started: ")));
  }
  // What the wrappers of scripts/test add (QUORVEX_MASTERSIM, QUORVEX_PING_*, QUORVEX_RECORDER*) is
  // inherited too.
  const std::regex wrappers("QUORVEX_(MASTERSIM|PING_[A-Z0-9]+|RECORDER[A-Z_]*)=[^\r]*\r\n");
  EXPECT_EQ(std::regex_replace(ReadFileBytes(output, 4096), wrappers, ""),
            "QUORVEX_EVENT=limit\r\n"
            "QUORVEX_JOIN_URL=steam://run/270150//server_address%3D127.0.0.5%20server_port%3D40005/\r\n"
            "QUORVEX_SERVER_ADDRESS=127.0.0.5\r\nQUORVEX_SERVER_NAME=S&1 %PATH%\r\nQUORVEX_SERVER_PORT=40005\r\n"
            "QUORVEX_TEXT=a&calc \"$(id)\" %TEMP%\n^|x\r\nQUORVEX_TITLE=Quorvex\r\n");
  std::filesystem::remove_all(folder);
}

TEST(CommandProcessWin32, ACommandPastTheLimitIsEndedWithWhatItStarted) {
  ASSERT_EQ(Running(L"ping.exe"), 0);
  CommandRunner runner(MakeSystemCommandStarter(), 1000ms);
  runner.Submit(u"cmd /c ping -n 60 127.0.0.1", Notification{});
  ASSERT_TRUE(runner.WaitUntilIdle(10s));
  EXPECT_THAT(runner.TakeReports(), ElementsAre("notifyCommand \"cmd\" still ran after 1 s and was ended"));
  EXPECT_EQ(Running(L"ping.exe"), 0);
}

}  // namespace
}  // namespace quorvex
