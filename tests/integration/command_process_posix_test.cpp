// The notifyCommand runner with real processes: what a script sees of the balloon, and what
// cannot start, fails, or hangs with a child of its own.
#include <fcntl.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "notify/command_runner.h"

namespace quorvex {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// A process is over when it is gone or only a zombie waiting for its new parent.
bool ProcessOver(const std::string& pid) {
  const std::string stat = ReadWhole("/proc/" + pid + "/stat");
  return stat.empty() || stat.find(") Z ") != std::string::npos;
}

bool EventuallyOver(const std::string& pid) {
  for (int i = 0; i < 200 && !ProcessOver(pid); ++i) std::this_thread::sleep_for(10ms);
  return ProcessOver(pid);
}

bool EventuallyExists(const std::filesystem::path& path) {
  for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i) std::this_thread::sleep_for(10ms);
  return std::filesystem::exists(path);
}

struct CommandProcessPosix : ::testing::Test {
  CommandProcessPosix() {
    std::filesystem::create_directories(folder);
    // Writes what it was given, each in a file of its own, and where its standard handles go.
    WriteScript("record.sh",
                "out=\"$1\"; shift\n"
                "printf %s \"$QUORVEX_EVENT\" > \"$out/event\"\n"
                "printf %s \"$QUORVEX_TITLE\" > \"$out/title\"\n"
                "printf %s \"$QUORVEX_TEXT\" > \"$out/text\"\n"
                "printf %s \"$QUORVEX_INHERITED\" > \"$out/inherited\"\n"
                "for a in \"$@\"; do printf '%s|' \"$a\"; done > \"$out/args\"\n"
                "handles=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2)\n"
                "printf '%s\\n' \"$handles\" > \"$out/handles\"\n"
                "if [ -e /proc/$$/fd/$QUORVEX_OPEN_FD ]; then echo held > \"$out/fd\"; fi\n"
                "echo to nobody; echo to nobody either >&2\n");
    // Starts a child that would outlive it and waits for it.
    WriteScript("hang.sh",
                "sleep 1000 &\n"
                "echo $! > \"$1/child.tmp\"; echo $$ > \"$1/leader.tmp\"\n"
                "mv \"$1/child.tmp\" \"$1/child\"; mv \"$1/leader.tmp\" \"$1/leader\"\n"
                "wait\n");
  }
  ~CommandProcessPosix() override { std::filesystem::remove_all(folder); }

  void WriteScript(const std::string& name, const std::string& body) {
    const auto path = folder / name;
    std::ofstream(path) << "#!/bin/sh\n" << body;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  }
  // The script and the folder, quoted: the folder's name has a blank.
  Text Line(const std::string& script, const std::string& rest = "") const {
    return FromUtf8("\"" + (folder / script).string() + "\" \"" + folder.string() + "\"" + rest);
  }
  std::string Read(const std::string& name) const { return ReadWhole(folder / name); }
  // The process number a script wrote, as /proc names it.
  std::string Pid(const std::string& name) const {
    const std::string text = Read(name);
    EXPECT_FALSE(text.empty()) << name;
    return text.substr(0, text.find('\n'));
  }

  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("quorvex notify " + std::to_string(::getpid()));
};

TEST_F(CommandProcessPosix, TheCommandGetsTheBalloonOnlyInItsEnvironmentAndNothingOfOurs) {
  ::setenv("QUORVEX_INHERITED", "yes", 1);
  ::setenv("QUORVEX_TEXT", "an old value", 1);
  const int held = ::open("/dev/null", O_RDONLY);  // inheritable, as a careless library would leave one
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
  EXPECT_EQ(Read("event"), "watch");
  EXPECT_EQ(Read("title"), ToUtf8(title));
  EXPECT_EQ(Read("text"), "Bob on \"Main\" $(id) `id`\na&calc; %TEMP% \\ \U0001F3AE\nlast");
  EXPECT_EQ(Read("inherited"), "yes");
  EXPECT_EQ(Read("args"), "a b|c\"d|$HOME|");
  EXPECT_EQ(Read("handles"), "/dev/null\n/dev/null\n/dev/null\n");
  EXPECT_FALSE(std::filesystem::exists(folder / "fd"));
}

TEST_F(CommandProcessPosix, AMissingProgramAndAFailingOneAreToldAndAHungOneIsEndedWithItsChild) {
  CommandRunner runner(MakeSystemCommandStarter(), 500ms);
  runner.Submit(u"quorvex-no-such-program --x", Notification{});
  runner.Submit(u"false", Notification{});
  runner.Submit(u"sh -c \"kill -TERM $$\"", Notification{});
  runner.Submit(Line("hang.sh"), Notification{});
  ASSERT_TRUE(runner.WaitUntilIdle(10s));
  const std::string hang = "notifyCommand \"" + (folder / "hang.sh").string() + "\"";
  EXPECT_THAT(runner.TakeReports(),
              ElementsAre("notifyCommand \"quorvex-no-such-program\" could not be started: No such file or directory",
                          "notifyCommand \"false\" ended with exit code 1", "notifyCommand \"sh\" was ended by signal 15",
                          hang + " still ran after 500 ms and was ended"));
  EXPECT_TRUE(EventuallyOver(Pid("leader")));
  EXPECT_TRUE(EventuallyOver(Pid("child")));
}

TEST_F(CommandProcessPosix, DestroyingTheRunnerEndsTheCommandAtOnce) {
  const auto started = std::chrono::steady_clock::now();
  {
    CommandRunner runner(MakeSystemCommandStarter());
    runner.Submit(Line("hang.sh"), Notification{});
    ASSERT_TRUE(EventuallyExists(folder / "leader"));  // written after "child"
  }
  EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
  EXPECT_TRUE(EventuallyOver(Pid("leader")));
  EXPECT_TRUE(EventuallyOver(Pid("child")));
}

}  // namespace
}  // namespace quorvex
