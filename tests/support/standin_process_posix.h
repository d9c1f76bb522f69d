// A real process under a name of the test's choosing: /bin/sleep copied under that name and
// started with the first word of the command line the test gives, ended when the object goes.
#pragma once
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvex::testing {

// `executable` made a copy of /bin/sleep (its folders too), once.
inline void CopySleepTo(const std::filesystem::path& executable) {
  std::filesystem::create_directories(executable.parent_path());
  std::filesystem::copy_file("/bin/sleep", executable, std::filesystem::copy_options::skip_existing);
}

class StandInProcess {
 public:
  // Runs `executable` (a copy of sleep) with `firstWord` as its command line's first word.
  // posix_spawn returns once the new program runs, so the process list shows it at once.
  StandInProcess(const std::filesystem::path& executable, const std::string& firstWord) {
    std::vector<std::string> words{firstWord, "600"};
    char* argv[] = {words[0].data(), words[1].data(), nullptr};
    if (::posix_spawn(&pid_, executable.c_str(), nullptr, nullptr, argv, environ) != 0)
      throw std::runtime_error("cannot start " + executable.string());
  }
  explicit StandInProcess(const std::filesystem::path& executable) : StandInProcess(executable, executable.string()) {}
  StandInProcess(const StandInProcess&) = delete;
  StandInProcess& operator=(const StandInProcess&) = delete;
  ~StandInProcess() { End(); }
  // Ends it and waits until it is gone from the process list.
  void End() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

 private:
  pid_t pid_ = 0;
};

}  // namespace quorvex::testing
