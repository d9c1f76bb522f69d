// The notifyCommand policy over a fake process starter: one command at a time, at most 8
// balloons waiting, the 30 s limit, and each distinct problem told once.
#include "notify/command_runner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>

namespace quorvex {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// What a fake command does, chosen by its program name.
enum class Behaviour { ExitZero, ExitOne, ExitStatus, Killed, Hang, Held };

// Starts fake commands and records what the runner asked of them. A Hang command's limit
// passes at once (the clock of this test is the limit WaitFor is given); a Held command
// runs until Release() or End().
class FakeStarter : public CommandStarter {
 public:
  struct Record {
    std::vector<std::chrono::milliseconds> waits;
    int ends = 0;
  };
  std::unique_ptr<CommandProcess> Start(const CommandRequest& request) override;
  void Release() {
    const std::lock_guard lock(mutex);
    released = true;
    changed.notify_all();
  }
  void WaitForStarts(size_t count) {
    std::unique_lock lock(mutex);
    ASSERT_TRUE(changed.wait_for(lock, 10s, [&] { return requests.size() >= count; }));
  }

  std::mutex mutex;
  std::condition_variable changed;
  std::vector<CommandRequest> requests;
  std::vector<Record> records;  // one per started command
  int alive = 0;
  int mostAlive = 0;
  bool released = false;
};

class FakeProcess : public CommandProcess {
 public:
  FakeProcess(FakeStarter& starter, size_t index, Behaviour behaviour)
      : starter_(starter), index_(index), behaviour_(behaviour) {}
  ~FakeProcess() override {
    const std::lock_guard lock(starter_.mutex);
    --starter_.alive;
  }
  std::optional<CommandEnd> WaitFor(std::chrono::milliseconds limit) override {
    std::unique_lock lock(starter_.mutex);
    FakeStarter::Record& record = starter_.records[index_];
    record.waits.push_back(limit);
    if (record.ends > 0) return CommandEnd{0, 9};
    switch (behaviour_) {
      case Behaviour::ExitZero: return CommandEnd{};
      case Behaviour::ExitOne: return CommandEnd{1, 0};
      case Behaviour::ExitStatus: return CommandEnd{0xC0000005, 0};
      case Behaviour::Killed: return CommandEnd{0, 15};
      case Behaviour::Hang: return std::nullopt;
      case Behaviour::Held: break;
    }
    starter_.changed.wait(lock, [&] { return starter_.released || starter_.records[index_].ends > 0; });
    return starter_.released ? CommandEnd{} : CommandEnd{0, 9};
  }
  void End() override {
    const std::lock_guard lock(starter_.mutex);
    ++starter_.records[index_].ends;
    starter_.changed.notify_all();
  }

 private:
  FakeStarter& starter_;
  const size_t index_;
  const Behaviour behaviour_;
};

std::unique_ptr<CommandProcess> FakeStarter::Start(const CommandRequest& request) {
  static const std::map<Text, Behaviour> behaviours = {
      {u"ok", Behaviour::ExitZero},   {u"fails", Behaviour::ExitOne}, {u"crashes", Behaviour::ExitStatus},
      {u"killed", Behaviour::Killed}, {u"hangs", Behaviour::Hang},    {u"held", Behaviour::Held}};
  const std::lock_guard lock(mutex);
  const auto found = behaviours.find(request.arguments.at(0));
  if (found == behaviours.end()) throw CommandStartError("No such file or directory");
  requests.push_back(request);
  records.emplace_back();
  mostAlive = std::max(mostAlive, ++alive);
  changed.notify_all();
  return std::make_unique<FakeProcess>(*this, requests.size() - 1, found->second);
}

// The runner owns its starter; the test keeps the fake's records beyond the runner's end.
struct ForwardingStarter : CommandStarter {
  explicit ForwardingStarter(FakeStarter& fake) : fake(fake) {}
  std::unique_ptr<CommandProcess> Start(const CommandRequest& request) override { return fake.Start(request); }
  FakeStarter& fake;
};

struct RunnerTest : ::testing::Test {
  RunnerTest() : runner(std::make_unique<CommandRunner>(std::make_unique<ForwardingStarter>(fake))) {}
  void SubmitAndWait(const Text& line) {
    runner->Submit(line, Notification{NotifyEvent::Watch, u"Quorvex", u"x"});
    ASSERT_TRUE(runner->WaitUntilIdle(10s));
  }
  FakeStarter fake;
  FakeStarter* starter = &fake;
  std::unique_ptr<CommandRunner> runner;
};

TEST_F(RunnerTest, TheCommandGetsTheSplitLineAndTheBalloonInItsEnvironment) {
  runner->Submit(u"  ok \"a b\" c", Notification{NotifyEvent::Limit, u"Quorvex alert", u"line 1\r\nline \"2\"\0 $(id)"s});
  runner->Submit(u"ok", Notification{NotifyEvent::Watch, u"Quorvex", u"a&calc\non x"});
  ASSERT_TRUE(runner->WaitUntilIdle(10s));
  ASSERT_EQ(starter->requests.size(), 2u);
  const CommandRequest& limit = starter->requests[0];
  EXPECT_EQ(limit.commandLine, u"ok \"a b\" c");  // the blanks before the program left out
  EXPECT_THAT(limit.arguments, ElementsAre(u"ok", u"a b", u"c"));
  // Lines joined by LF everywhere; a NUL, which would cut the value, shown as U+FFFD.
  using Variables = std::vector<std::pair<Text, Text>>;
  EXPECT_EQ(limit.environment, (Variables{{u"QUORVEX_EVENT", u"limit"},
                                          {u"QUORVEX_TITLE", u"Quorvex alert"},
                                          {u"QUORVEX_TEXT", u"line 1\nline \"2\"\uFFFD $(id)"}}));
  EXPECT_EQ(starter->requests[1].environment,
            (Variables{{u"QUORVEX_EVENT", u"watch"}, {u"QUORVEX_TITLE", u"Quorvex"}, {u"QUORVEX_TEXT", u"a&calc\non x"}}));
  // Each waited for within the limit, nothing ended, nothing to tell.
  EXPECT_THAT(starter->records[0].waits, ElementsAre(30000ms));
  EXPECT_EQ(starter->records[0].ends, 0);
  EXPECT_THAT(runner->TakeReports(), IsEmpty());
}

TEST_F(RunnerTest, OneRunsAtATimeAndANinthWaitingBalloonPushesOutTheOldestToldOnce) {
  runner->Submit(u"held", Notification{NotifyEvent::Watch, u"running", u""});
  starter->WaitForStarts(1);
  for (int i = 1; i <= 10; ++i) runner->Submit(u"ok", Notification{NotifyEvent::Watch, FromAscii(std::to_string(i)), u""});
  // Balloons 1 and 2 pushed out, told once; the Submit calls never waited for the command.
  EXPECT_THAT(runner->TakeReports(),
              ElementsAre("notifyCommand was not run for a balloon: 8 balloons were already waiting for it"));
  EXPECT_EQ(starter->requests.size(), 1u);
  starter->Release();
  ASSERT_TRUE(runner->WaitUntilIdle(10s));
  std::vector<Text> titles;
  for (const CommandRequest& request : starter->requests) titles.push_back(request.environment[1].second);
  EXPECT_THAT(titles, ElementsAre(u"running", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10"));
  EXPECT_EQ(starter->mostAlive, 1);
  EXPECT_THAT(runner->TakeReports(), IsEmpty());
}

TEST_F(RunnerTest, EachDistinctProblemIsToldOnceAndTheNextCommandsStillRun) {
  for (const Text line : {u"missing x", u"fails", u"missing y", u"fails", u"crashes", u"killed", u"", u" \t",
                          u"\"\" x", u"hangs", u"hangs", u"ok"}) {
    SubmitAndWait(line);
  }
  EXPECT_THAT(runner->TakeReports(),
              ElementsAre("notifyCommand \"missing\" could not be started: No such file or directory",
                          "notifyCommand \"fails\" ended with exit code 1",
                          "notifyCommand \"crashes\" ended with exit code 0xC0000005",
                          "notifyCommand \"killed\" was ended by signal 15", "notifyCommand names no program",
                          "notifyCommand \"hangs\" still ran after 30 s and was ended"));
  EXPECT_THAT(runner->TakeReports(), IsEmpty());
  // A command past the limit is ended once and then waited for again, briefly.
  ASSERT_EQ(starter->records.size(), 7u);
  EXPECT_EQ(starter->records[5].ends, 1);
  EXPECT_EQ(starter->records[5].waits.size(), 2u);
  EXPECT_EQ(starter->records[5].waits[0], 30000ms);
  EXPECT_LT(starter->records[5].waits[1], 30000ms);
  EXPECT_EQ(starter->records[6].ends, 0);
  SubmitAndWait(u"fails");
  EXPECT_THAT(runner->TakeReports(), IsEmpty());
}

TEST(CommandRunner, TheLimitIsTheOneGivenAndToldAsGiven) {
  FakeStarter starter;
  CommandRunner runner(std::make_unique<ForwardingStarter>(starter), 300ms);
  runner.Submit(u"hangs", Notification{});
  ASSERT_TRUE(runner.WaitUntilIdle(10s));
  EXPECT_EQ(starter.records.at(0).waits.at(0), 300ms);
  EXPECT_THAT(runner.TakeReports(), ElementsAre("notifyCommand \"hangs\" still ran after 300 ms and was ended"));
}

TEST_F(RunnerTest, DestroyingTheRunnerEndsTheRunningCommandAndForgetsTheWaitingOnes) {
  runner->Submit(u"held", Notification{});
  starter->WaitForStarts(1);
  runner->Submit(u"ok", Notification{});
  runner->Submit(u"ok", Notification{});
  EXPECT_FALSE(runner->WaitUntilIdle(50ms));
  runner.reset();  // returns only once the worker has ended
  EXPECT_EQ(starter->requests.size(), 1u);
  EXPECT_EQ(starter->records[0].ends, 1);
  EXPECT_EQ(starter->alive, 0);
}

}  // namespace
}  // namespace quorvex
