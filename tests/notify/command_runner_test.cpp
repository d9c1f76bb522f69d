// The notifyCommand policy over a fake process starter: one command at a time, at most 8
// balloons waiting, the 30 s limit, and each distinct problem told once.
#include "notify/command_runner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

namespace quorvex {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Lt;

// Fake commands, chosen by their program: "ok" and "held" end with 0, "fails" with 1,
// "fails16" with 0xFFFF, "crashes" with 0xC0000005, "killed" by signal 15; "hangs" runs past
// any limit (the limit WaitFor is given passes at once: that is this test's clock); "held"
// runs until released or ended; any other program cannot start.
const std::map<Text, CommandEnd> kEnds = {{u"ok", {}},         {u"held", {}},          {u"fails", {1, 0}},
                                          {u"fails16", {0xFFFF, 0}}, {u"crashes", {0xC0000005, 0}},
                                          {u"killed", {0, 15}}};

struct FakeCommands {
  struct Started {
    CommandRequest request;
    std::vector<std::chrono::milliseconds> waits;
    int ends = 0;
  };
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<Started> started;  // a deque: what a process holds stays where it is
  int alive = 0;
  int mostAlive = 0;
  bool released = false;
};

class FakeProcess : public CommandProcess {
 public:
  FakeProcess(FakeCommands& fake, FakeCommands::Started& started) : fake_(fake), started_(started) {}
  ~FakeProcess() override {
    const std::lock_guard lock(fake_.mutex);
    --fake_.alive;
  }
  std::optional<CommandEnd> WaitFor(std::chrono::milliseconds limit) override {
    std::unique_lock lock(fake_.mutex);
    started_.waits.push_back(limit);
    const Text& program = started_.request.arguments.at(0);
    if (program == u"held") fake_.changed.wait(lock, [&] { return fake_.released || started_.ends > 0; });
    if (started_.ends > 0) return CommandEnd{0, 9};
    if (program == u"hangs") return std::nullopt;
    return kEnds.at(program);
  }
  void End() override {
    const std::lock_guard lock(fake_.mutex);
    ++started_.ends;
    fake_.changed.notify_all();
  }

 private:
  FakeCommands& fake_;
  FakeCommands::Started& started_;
};

// Owned by the runner; the records stay with the test beyond the runner's end.
struct FakeStarter : CommandStarter {
  explicit FakeStarter(FakeCommands& fake) : fake(fake) {}
  std::unique_ptr<CommandProcess> Start(const CommandRequest& request) override {
    const std::lock_guard lock(fake.mutex);
    const Text& program = request.arguments.at(0);
    if (program != u"hangs" && !kEnds.contains(program)) throw CommandStartError("No such file or directory");
    fake.started.push_back({request});
    fake.mostAlive = std::max(fake.mostAlive, ++fake.alive);
    fake.changed.notify_all();
    return std::make_unique<FakeProcess>(fake, fake.started.back());
  }
  FakeCommands& fake;
};

struct RunnerTest : ::testing::Test {
  void SubmitAndWait(const Text& line) {
    runner->Submit(line, Notification{NotifyEvent::Watch, u"Quorvex", u"x"});
    ASSERT_TRUE(runner->WaitUntilIdle(10s));
  }
  void WaitForStarts(size_t count) {
    std::unique_lock lock(fake.mutex);
    ASSERT_TRUE(fake.changed.wait_for(lock, 10s, [&] { return fake.started.size() >= count; }));
  }
  void Release() {
    const std::lock_guard lock(fake.mutex);
    fake.released = true;
    fake.changed.notify_all();
  }
  FakeCommands fake;
  std::unique_ptr<CommandRunner> runner = std::make_unique<CommandRunner>(std::make_unique<FakeStarter>(fake));
};

TEST_F(RunnerTest, TheCommandGetsTheSplitLineAndTheBalloonInItsEnvironment) {
  runner->Submit(u"  ok \"a b\" c", Notification{NotifyEvent::Limit, u"Quorvex alert", u"line 1\r\nline \"2\"\0 $(id)"s});
  runner->Submit(u"ok", Notification{NotifyEvent::Watch, u"Quorvex", u"a&calc\non x"});
  ASSERT_TRUE(runner->WaitUntilIdle(10s));
  ASSERT_EQ(fake.started.size(), 2u);
  const CommandRequest& limit = fake.started[0].request;
  EXPECT_EQ(limit.commandLine, u"ok \"a b\" c");  // the blanks before the program left out
  EXPECT_THAT(limit.arguments, ElementsAre(u"ok", u"a b", u"c"));
  // Lines joined by LF everywhere; a NUL, which would cut the value, shown as U+FFFD.
  using Variables = std::vector<std::pair<Text, Text>>;
  const Variables noServer{{u"QUORVEX_SERVER_NAME", u""}, {u"QUORVEX_SERVER_ADDRESS", u""},
                           {u"QUORVEX_SERVER_PORT", u""}, {u"QUORVEX_JOIN_URL", u""}};
  Variables expected{{u"QUORVEX_EVENT", u"limit"},
                     {u"QUORVEX_TITLE", u"Quorvex alert"},
                     {u"QUORVEX_TEXT", u"line 1\nline \"2\"\uFFFD $(id)"}};
  expected.insert(expected.end(), noServer.begin(), noServer.end());
  EXPECT_EQ(limit.environment, expected);
  expected = {{u"QUORVEX_EVENT", u"watch"}, {u"QUORVEX_TITLE", u"Quorvex"}, {u"QUORVEX_TEXT", u"a&calc\non x"}};
  expected.insert(expected.end(), noServer.begin(), noServer.end());
  EXPECT_EQ(fake.started[1].request.environment, expected);
  // Each waited for within the limit, nothing ended, nothing to tell.
  EXPECT_THAT(fake.started[0].waits, ElementsAre(30000ms));
  EXPECT_EQ(fake.started[0].ends, 0);
  EXPECT_THAT(runner->TakeReports(), IsEmpty());
}

TEST_F(RunnerTest, OneRunsAtATimeAndANinthWaitingBalloonPushesOutTheOldestToldOnce) {
  runner->Submit(u"held", Notification{NotifyEvent::Watch, u"running", u""});
  WaitForStarts(1);
  for (int i = 1; i <= 10; ++i) runner->Submit(u"ok", Notification{NotifyEvent::Watch, FromAscii(std::to_string(i)), u""});
  // Balloons 1 and 2 pushed out, told once; the Submit calls never waited for the command.
  EXPECT_THAT(runner->TakeReports(),
              ElementsAre("notifyCommand was not run for a balloon: 8 balloons were already waiting for it"));
  EXPECT_EQ(fake.started.size(), 1u);
  Release();
  ASSERT_TRUE(runner->WaitUntilIdle(10s));
  std::vector<Text> titles;
  for (const auto& started : fake.started) titles.push_back(started.request.environment[1].second);
  EXPECT_THAT(titles, ElementsAre(u"running", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10"));
  EXPECT_EQ(fake.mostAlive, 1);
  EXPECT_THAT(runner->TakeReports(), IsEmpty());
}

TEST_F(RunnerTest, EachDistinctProblemIsToldOnceAndTheNextCommandsStillRun) {
  for (const Text line : {u"missing x", u"fails", u"missing y", u"fails", u"crashes", u"killed", u"fails16", u"", u" \t",
                          u"\"\" x", u"hangs", u"hangs", u"ok"}) {
    SubmitAndWait(line);
  }
  EXPECT_THAT(runner->TakeReports(),
              ElementsAre("notifyCommand \"missing\" could not be started: No such file or directory",
                          "notifyCommand \"fails\" ended with exit code 1",
                          "notifyCommand \"crashes\" ended with exit code 0xC0000005",
                          "notifyCommand \"killed\" was ended by signal 15",
                          "notifyCommand \"fails16\" ended with exit code 65535", "notifyCommand names no program",
                          "notifyCommand \"hangs\" still ran after 30 s and was ended"));
  // A command past the limit is ended once and then waited for again, briefly.
  ASSERT_EQ(fake.started.size(), 8u);
  EXPECT_EQ(fake.started[6].ends, 1);
  EXPECT_THAT(fake.started[6].waits, ElementsAre(30000ms, Lt(30000ms)));
  EXPECT_EQ(fake.started[7].ends, 0);
  SubmitAndWait(u"fails");  // told before, and taken: nothing new to tell
  EXPECT_THAT(runner->TakeReports(), IsEmpty());
  // The limit is the one given, and told as given.
  runner = std::make_unique<CommandRunner>(std::make_unique<FakeStarter>(fake), 300ms);
  SubmitAndWait(u"hangs");
  EXPECT_EQ(fake.started.back().waits.at(0), 300ms);
  EXPECT_THAT(runner->TakeReports(), ElementsAre("notifyCommand \"hangs\" still ran after 300 ms and was ended"));
}

TEST_F(RunnerTest, DestroyingTheRunnerEndsTheRunningCommandAndForgetsTheWaitingOnes) {
  runner->Submit(u"held", Notification{});
  WaitForStarts(1);
  runner->Submit(u"ok", Notification{});
  runner->Submit(u"ok", Notification{});
  EXPECT_FALSE(runner->WaitUntilIdle(50ms));
  runner.reset();  // returns only once the worker has ended
  EXPECT_EQ(fake.started.size(), 1u);
  EXPECT_EQ(fake.started[0].ends, 1);
  EXPECT_EQ(fake.alive, 0);
}

}  // namespace
}  // namespace quorvex
