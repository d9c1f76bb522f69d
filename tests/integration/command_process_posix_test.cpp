// The notifyCommand runner with real processes: what a script sees of the balloon, and what
// cannot start, fails, or hangs with a child of its own.
#include <fcntl.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "notify/command_runner.h"
#include "support/open_descriptors_posix.h"

namespace quorvex {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string ReadWhole(const std::filesystem::path& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

// Whether `done` holds within 5 s.
template <typename Condition>
bool Eventually(Condition done) {
  for (int i = 0; i < 500 && !done(); ++i) std::this_thread::sleep_for(10ms);
  return done();
}

struct CommandProcessPosix : ::testing::Test {
  CommandProcessPosix() {
    std::filesystem::create_directories(folder);
    // Writes what it was given and where its standard handles and the descriptor named by
    // QUORVEX_OPEN_FD lead (readlink prints nothing for one that is closed).
    WriteScript("record.sh",
                "handles=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2 /proc/$$/fd/$QUORVEX_OPEN_FD)\n"
                "out=\"$1\"; shift\n"
                "printf '%s|' \"$QUORVEX_EVENT\" \"$QUORVEX_TITLE\" \"$QUORVEX_TEXT\" \"$QUORVEX_INHERITED\" \"$@\" "
                "\"$handles\" > \"$out/record\"\n"
                "echo to nobody; echo to nobody either >&2\n");
    // Starts a child that would outlive it, tells both process numbers, and waits.
    WriteScript("hang.sh", "sleep 1000 & echo $! $$ > \"$1/pids.tmp\"; mv \"$1/pids.tmp\" \"$1/pids\"; wait\n");
  }
  ~CommandProcessPosix() override { std::filesystem::remove_all(folder); }

  void WriteScript(const std::string& name, const std::string& body) {
    std::ofstream(folder / name) << "#!/bin/sh\n" << body;
    std::filesystem::permissions(folder / name, std::filesystem::perms::owner_all);
  }
  // The script and the folder, quoted: the folder's name has a blank.
  Text Line(const std::string& script, const std::string& rest = "") const {
    return FromUtf8("\"" + (folder / script).string() + "\" \"" + folder.string() + "\"" + rest);
  }
  // Whether the hang script and its child are over: gone, or zombies left to their new parent.
  bool HangOver() const {
    std::istringstream pids(ReadWhole(folder / "pids"));
    std::string child, leader;
    if (!(pids >> child >> leader)) return false;
    const auto over = [](const std::string& pid) {
      const std::string stat = ReadWhole("/proc/" + pid + "/stat");
      return stat.empty() || stat.find(") Z ") != std::string::npos;
    };
    return over(child) && over(leader);
  }

  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("quorvex notify " + std::to_string(::getpid()));
};

TEST_F(CommandProcessPosix, TheCommandGetsTheBalloonOnlyInItsEnvironmentAndNothingOfOurs) {
  ::setenv("QUORVEX_INHERITED", "yes", 1);
  ::setenv("QUORVEX_TEXT", "an old value", 1);
  // Inheritable, as a careless library would leave one; numbered above what the shell uses.
  const int opened = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  const int held = ::dup2(opened, 200);
  ::close(opened);
  ::setenv("QUORVEX_OPEN_FD", std::to_string(held).c_str(), 1);
  const Text title = u"Quorvex \u00e9\u65e5";
  const Text text = u"Bob on \"Main\" $(id) `id`\r\na&calc; %TEMP% \\ \U0001F3AE\nlast";
  {
    CommandRunner runner(MakeSystemCommandStarter());
    runner.Submit(Line("record.sh", " \"a b\" c\\\"d $HOME"), Notification{NotifyEvent::Watch, title, text});
    ASSERT_TRUE(runner.WaitUntilIdle(10s));
    EXPECT_THAT(runner.TakeReports(), IsEmpty());
  }
  ::close(held);
  EXPECT_EQ(ReadWhole(folder / "record"), "watch|" + ToUtf8(title) +
                                              "|Bob on \"Main\" $(id) `id`\na&calc; %TEMP% \\ \U0001F3AE\nlast|yes|"
                                              "a b|c\"d|$HOME|/dev/null\n/dev/null\n/dev/null|");
}

TEST_F(CommandProcessPosix, AMissingProgramAndAFailingOneAreToldAndAHungOneIsEndedWithItsChild) {
  CommandRunner runner(MakeSystemCommandStarter(), 500ms);
  runner.Submit(u"quorvex-no-such-program --x", Notification{});
  runner.Submit(u"false", Notification{});
  runner.Submit(u"sh -c \"kill -TERM $$\"", Notification{});
  runner.Submit(Line("hang.sh"), Notification{});
  ASSERT_TRUE(runner.WaitUntilIdle(10s));
  EXPECT_THAT(runner.TakeReports(),
              ElementsAre("notifyCommand \"quorvex-no-such-program\" could not be started: No such file or directory",
                          "notifyCommand \"false\" ended with exit code 1", "notifyCommand \"sh\" was ended by signal 15",
                          "notifyCommand \"" + (folder / "hang.sh").string() + "\" still ran after 500 ms and was ended"));
  EXPECT_TRUE(Eventually([&] { return HangOver(); }));
}

TEST_F(CommandProcessPosix, DestroyingTheRunnerEndsTheCommandAtOnceAndClosesItsWatch) {
  const auto openBefore = testing::OpenDescriptors();
  const auto started = std::chrono::steady_clock::now();
  {
    CommandRunner runner(MakeSystemCommandStarter());
    runner.Submit(Line("hang.sh"), Notification{});
    ASSERT_TRUE(Eventually([&] { return std::filesystem::exists(folder / "pids"); }));
  }
  EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
  EXPECT_TRUE(Eventually([&] { return HangOver(); }));
  EXPECT_EQ(testing::OpenDescriptors(), openBefore);  // the pidfd went with the command
}

}  // namespace
}  // namespace quorvex
