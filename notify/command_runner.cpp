#include "notify/command_runner.h"

#include <exception>
#include <utility>

#include "notify/command_line.h"

namespace quorvex {

namespace {

// How long an ended command may take to go before the runner moves on without it.
constexpr std::chrono::milliseconds kEndGrace{2000};

std::string Duration(std::chrono::milliseconds span) {
  const auto ms = span.count();
  return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

// Windows status codes such as 0xC0000005 read in hexadecimal; small codes in decimal.
std::string ExitCodeText(uint32_t code) {
  if (code <= 0xFFFF) return std::to_string(code);
  static const char digits[] = "0123456789ABCDEF";
  std::string hex = "0x";
  for (int shift = 28; shift >= 0; shift -= 4) hex.push_back(digits[(code >> shift) & 0xF]);
  return hex;
}

}  // namespace

CommandRunner::CommandRunner(std::unique_ptr<CommandStarter> starter, std::chrono::milliseconds limit)
    : starter_(std::move(starter)), limit_(limit) {}

CommandRunner::~CommandRunner() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    waiting_.clear();
    if (current_ != nullptr) current_->End();
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void CommandRunner::Submit(const Text& commandLine, const Notification& notification) {
  {
    const std::lock_guard lock(mutex_);
    if (waiting_.size() >= kMaxWaitingNotifications) {
      waiting_.pop_front();
      Report("notifyCommand was not run for a balloon: " + std::to_string(kMaxWaitingNotifications) +
             " balloons were already waiting for it");
    }
    waiting_.push_back(Job{commandLine, notification});
    if (!worker_.joinable()) worker_ = std::thread([this] { Work(); });
  }
  changed_.notify_all();
}

std::vector<std::string> CommandRunner::TakeReports() {
  const std::lock_guard lock(mutex_);
  return std::exchange(reports_, {});
}

bool CommandRunner::WaitUntilIdle(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [this] { return waiting_.empty() && !running_; });
}

void CommandRunner::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
    if (stopping_) return;
    const Job job = std::move(waiting_.front());
    waiting_.pop_front();
    running_ = true;
    lock.unlock();
    Run(job);
    lock.lock();
    running_ = false;
    changed_.notify_all();
  }
}

void CommandRunner::Run(const Job& job) {
  CommandRequest request;
  // A blank before the program would make its name empty.
  const size_t start = job.commandLine.find_first_not_of(u" \t");
  if (start != Text::npos) request.commandLine = job.commandLine.substr(start);
  request.arguments = SplitCommandLine(request.commandLine);
  if (request.arguments.empty() || request.arguments.front().empty()) {
    const std::lock_guard lock(mutex_);
    Report("notifyCommand names no program");
    return;
  }
  request.environment = NotifyEnvironment(job.notification);
  const std::string program = "notifyCommand \"" + ToUtf8(request.arguments.front()) + "\"";
  std::unique_ptr<CommandProcess> process;
  try {
    process = starter_->Start(request);
  } catch (const std::exception& error) {  // on this thread nothing else would catch it
    const std::lock_guard lock(mutex_);
    Report(program + " could not be started: " + error.what());
    return;
  }
  {
    const std::lock_guard lock(mutex_);
    if (stopping_) return;  // the process ends as it is destroyed
    current_ = process.get();
  }
  Finish(*process, program);
}

void CommandRunner::Finish(CommandProcess& process, const std::string& program) {
  const std::optional<CommandEnd> end = process.WaitFor(limit_);
  if (!end) {
    process.End();
    process.WaitFor(kEndGrace);
  }
  const std::lock_guard lock(mutex_);
  current_ = nullptr;
  if (stopping_) return;  // ended by the destructor: nobody is left to tell
  if (!end) {
    Report(program + " still ran after " + Duration(limit_) + " and was ended");
  } else if (end->signal != 0) {
    Report(program + " was ended by signal " + std::to_string(end->signal));
  } else if (end->exitCode != 0) {
    Report(program + " ended with exit code " + ExitCodeText(end->exitCode));
  }
}

void CommandRunner::Report(const std::string& message) {
  if (told_.insert(message).second) reports_.push_back(message);
}

}  // namespace quorvex
