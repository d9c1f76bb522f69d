// stdin and the stop signals on POSIX: poll() on stdin and on a pipe that the signal
// handler writes to, so a signal that comes just before the wait still wakes it; a second
// pipe wakes a handler's network wait when its work is done.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <string>

#include "frontends/console/input.h"

namespace quorvex {

namespace {

volatile sig_atomic_t signalPending = 0;
int signalPipeWrite = -1;

extern "C" void OnStopSignal(int) {
  const int saved = errno;
  signalPending = 1;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(signalPipeWrite, &byte, 1);
  errno = saved;
}

// A longer line is no command; it is handed on whole and refused as unknown.
constexpr size_t kMaxLineBytes = 1 << 20;

class StdinInput : public ConsoleInput {
 public:
  StdinInput() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("cannot make the signal pipe");
    signalPipeRead_ = fds[0];
    signalPipeWrite = fds[1];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("cannot make the wake-up pipe");
    wakeRead_ = fds[0];
    wakeWrite_ = fds[1];
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;  // a transfer or a ping in progress goes on undisturbed
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    // A reader of stdout that goes away must not end the process unsaved: the failed write
    // is seen by the output instead, and the session exits.
    ::signal(SIGPIPE, SIG_IGN);
  }

  InputEvent Wait(std::optional<int64_t> timeoutMs, std::string& line) override {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs.value_or(0));
    for (;;) {
      if (TakeSignal()) return InputEvent::Signal;
      if (TakeBufferedLine(line)) return InputEvent::Line;
      if (endReached_ && !endReported_) {
        endReported_ = true;
        return InputEvent::EndOfInput;
      }
      int waitMs = -1;
      if (timeoutMs) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return InputEvent::Timeout;
        waitMs = static_cast<int>(std::min<int64_t>(left, 1 << 30));
      }
      WaitForInput(waitMs);
    }
  }

  bool TakeReadyLine(std::string& line) override {
    if (TakeBufferedLine(line)) return true;
    if (!endReached_ && Readable(0, 0)) ReadSome();
    return TakeBufferedLine(line);
  }

  void WaitForActivity(int32_t timeoutMs, bool withLines) override {
    if (withLines && buffer_.find('\n') != std::string::npos) return;
    pollfd fds[3] = {{signalPipeRead_, POLLIN, 0}, {wakeRead_, POLLIN, 0}, {0, POLLIN, 0}};
    const nfds_t count = withLines && !endReached_ ? 3 : 2;
    if (::poll(fds, count, timeoutMs) > 0 && count == 3 && (fds[2].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0) {
      ReadSome();
    }
    char drain[64];
    while (::read(wakeRead_, drain, sizeof drain) > 0) {
    }
  }

  void Wake() override {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeWrite_, &byte, 1);  // a full pipe wakes all the same
  }

  bool TakeSignal() override {
    char drain[64];
    while (::read(signalPipeRead_, drain, sizeof drain) > 0) {
    }
    if (signalPending == 0) return false;
    signalPending = 0;
    return true;
  }

 private:
  static bool Readable(int fd, int timeoutMs) {
    pollfd one{fd, POLLIN, 0};
    return ::poll(&one, 1, timeoutMs) > 0 && (one.revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0;
  }

  void WaitForInput(int waitMs) {
    pollfd fds[2] = {{signalPipeRead_, POLLIN, 0}, {0, POLLIN, 0}};
    const nfds_t count = endReached_ ? 1 : 2;
    if (::poll(fds, count, waitMs) <= 0) return;  // a time-out, or a signal that interrupted it
    if (count == 2 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0) ReadSome();
  }

  void ReadSome() {
    char chunk[65536];
    ssize_t got;
    do {
      got = ::read(0, chunk, sizeof chunk);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
      endReached_ = true;
      // A last line without its line feed is a command all the same.
      if (!buffer_.empty()) buffer_ += '\n';
      return;
    }
    buffer_.append(chunk, static_cast<size_t>(got));
  }

  bool TakeBufferedLine(std::string& line) {
    size_t end = buffer_.find('\n');
    if (end == std::string::npos) {
      if (buffer_.size() < kMaxLineBytes) return false;
      end = buffer_.size();
    }
    line.assign(buffer_, 0, end);
    buffer_.erase(0, end < buffer_.size() ? end + 1 : end);
    return true;
  }

  int signalPipeRead_ = -1;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  std::string buffer_;
  bool endReached_ = false;
  bool endReported_ = false;
};

}  // namespace

std::unique_ptr<ConsoleInput> MakeStdinInput() { return std::make_unique<StdinInput>(); }

}  // namespace quorvex
