// Starting a notifyCommand on POSIX: posix_spawnp in a process group of its own, so ending
// it reaches everything it started; its end watched through a pidfd.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <string>
#include <system_error>
#include <utility>

#include "common/descriptor_posix.h"
#include "notify/command_process.h"

extern char** environ;

namespace quorvex {

namespace {

// How long a destroyed command, just ended, may take to go.
constexpr std::chrono::milliseconds kReapWithin{1000};

std::string ErrorText(int error) { return std::system_category().message(error); }

// The inherited environment without the names the request sets, then the request's.
std::vector<std::string> EnvironmentOf(const CommandRequest& request) {
  std::vector<std::string> added;
  for (const auto& [name, value] : request.environment) added.push_back(ToUtf8(name) + "=" + ToUtf8(value));
  const auto isReplaced = [&added](const std::string& entry) {
    const size_t equals = entry.find('=');
    for (const std::string& own : added) {
      if (equals != std::string::npos && own.compare(0, equals + 1, entry, 0, equals + 1) == 0) return true;
    }
    return false;
  };
  std::vector<std::string> entries;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (!isReplaced(*entry)) entries.push_back(*entry);
  }
  entries.insert(entries.end(), added.begin(), added.end());
  return entries;
}

// The C view of strings that outlive it.
std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& text : strings) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

class SpawnSettings {
 public:
  SpawnSettings() {
    posix_spawn_file_actions_init(&files_);
    posix_spawnattr_init(&attributes_);
    // Nothing in, nothing out, and no descriptor of ours held open by a command that hangs.
    posix_spawn_file_actions_addopen(&files_, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files_, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&files_, 1, 2);
    posix_spawn_file_actions_addclosefrom_np(&files_, 3);
    // Its own process group; no signal blocked or ignored because a front end has it so.
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setpgroup(&attributes_, 0);
    posix_spawnattr_setsigmask(&attributes_, &none);
    posix_spawnattr_setsigdefault(&attributes_, &all);
    posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  ~SpawnSettings() {
    posix_spawnattr_destroy(&attributes_);
    posix_spawn_file_actions_destroy(&files_);
  }
  SpawnSettings(const SpawnSettings&) = delete;
  SpawnSettings& operator=(const SpawnSettings&) = delete;
  const posix_spawn_file_actions_t* Files() const { return &files_; }
  const posix_spawnattr_t* Attributes() const { return &attributes_; }

 private:
  posix_spawn_file_actions_t files_;
  posix_spawnattr_t attributes_;
};

class PosixCommandProcess : public CommandProcess {
 public:
  PosixCommandProcess(pid_t pid, Descriptor pidfd) : pid_(pid), pidfd_(std::move(pidfd)) {}
  ~PosixCommandProcess() override {
    End();
    WaitFor(kReapWithin);  // a process stuck in the kernel is left behind rather than waited for
  }
  PosixCommandProcess(const PosixCommandProcess&) = delete;
  PosixCommandProcess& operator=(const PosixCommandProcess&) = delete;

  std::optional<CommandEnd> WaitFor(std::chrono::milliseconds limit) override {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
      if (auto end = Reap()) return end;
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return std::nullopt;
      pollfd ended{pidfd_.get(), POLLIN, 0};
      ::poll(&ended, 1, static_cast<int>(left.count()));  // woken early by a signal: looked at again
    }
  }

  void End() override {
    const std::lock_guard lock(mutex_);
    // Until it is reaped the group's number cannot be anyone else's.
    if (!end_) ::kill(-pid_, SIGKILL);
  }

 private:
  // Collects the leader's end if it has come, without waiting.
  std::optional<CommandEnd> Reap() {
    const std::lock_guard lock(mutex_);
    if (end_) return end_;
    int status = 0;
    pid_t got;
    do {
      got = ::waitpid(pid_, &status, WNOHANG);
    } while (got < 0 && errno == EINTR);
    if (got == pid_) {
      end_ = WIFSIGNALED(status) ? CommandEnd{0, WTERMSIG(status)}
                                 : CommandEnd{static_cast<uint32_t>(WEXITSTATUS(status)), 0};
    }
    return end_;
  }

  const pid_t pid_;
  const Descriptor pidfd_;
  std::mutex mutex_;
  std::optional<CommandEnd> end_;
};

class PosixCommandStarter : public CommandStarter {
 public:
  std::unique_ptr<CommandProcess> Start(const CommandRequest& request) override {
    std::vector<std::string> arguments;
    for (const Text& argument : request.arguments) arguments.push_back(ToUtf8(argument));
    std::vector<std::string> environment = EnvironmentOf(request);
    std::vector<char*> argv = Pointers(arguments);
    std::vector<char*> envp = Pointers(environment);
    const SpawnSettings settings;
    pid_t pid = 0;
    const int error = ::posix_spawnp(&pid, argv[0], settings.Files(), settings.Attributes(), argv.data(), envp.data());
    if (error != 0) throw CommandStartError(ErrorText(error));
    // Through syscall(): the wrapper of glibc 2.36 is declared without C linkage.
    Descriptor pidfd(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
    if (!pidfd.valid()) {
      const int openError = errno;
      ::kill(-pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
      throw CommandStartError("cannot watch it: " + ErrorText(openError));
    }
    return std::make_unique<PosixCommandProcess>(pid, std::move(pidfd));
  }
};

}  // namespace

std::unique_ptr<CommandStarter> MakeSystemCommandStarter() { return std::make_unique<PosixCommandStarter>(); }

}  // namespace quorvex
