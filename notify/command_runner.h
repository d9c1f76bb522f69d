// The player's notifyCommand, run for each balloon: one at a time on a thread of its own,
// later balloons waiting in a short queue, and what went wrong kept for the UI thread to
// tell, each distinct message once.
#pragma once
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "common/text.h"
#include "notify/command_process.h"
#include "notify/notification.h"

namespace quorvex {

// Balloons that wait while a command runs; a further one pushes out the oldest.
inline constexpr size_t kMaxWaitingNotifications = 8;
// How long a command may run before it is ended.
inline constexpr std::chrono::milliseconds kNotifyCommandLimit{30000};

class CommandRunner {
 public:
  explicit CommandRunner(std::unique_ptr<CommandStarter> starter,
                         std::chrono::milliseconds limit = kNotifyCommandLimit);
  // Ends the command that runs, if any, and forgets the waiting balloons; returns once the
  // worker thread has ended.
  ~CommandRunner();
  CommandRunner(const CommandRunner&) = delete;
  CommandRunner& operator=(const CommandRunner&) = delete;

  // Hands one balloon to the command line and returns at once: the command starts when
  // the ones before it have ended.
  void Submit(const Text& commandLine, const Notification& notification);
  // The problems met since the last call, oldest first, for Desktop::ReportError: each
  // distinct message only once in the runner's life. Never blocks for long.
  std::vector<std::string> TakeReports();
  // Waits until no command runs and none waits, at most `timeout`; false when that
  // passed first.
  bool WaitUntilIdle(std::chrono::milliseconds timeout);

 private:
  struct Job {
    Text commandLine;
    Notification notification;
  };
  void Work();
  void Run(const Job& job);
  // Waits for the started command within the limit, ending it past that; reports how it ended.
  void Finish(CommandProcess& process, const std::string& program);
  // Keeps a message for TakeReports unless it was kept once before; with mutex_ held.
  void Report(const std::string& message);

  const std::unique_ptr<CommandStarter> starter_;
  const std::chrono::milliseconds limit_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Job> waiting_;
  bool running_ = false;
  bool stopping_ = false;
  CommandProcess* current_ = nullptr;  // the command that runs, for the destructor to end
  std::set<std::string> told_;
  std::vector<std::string> reports_;
  std::thread worker_;  // started with the first balloon
};

}  // namespace quorvex
