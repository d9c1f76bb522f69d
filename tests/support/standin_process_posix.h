// A real process under a name of the test's choosing: /bin/sleep copied under that name and
// started with the first word of the command line the test gives, ended when the object goes.
#pragma once
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
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
  // Runs `executable` with the command line `words`; returns once /proc shows its command
  // line (posix_spawn returns while the kernel may still be setting up the new program).
  StandInProcess(const std::filesystem::path& executable, std::vector<std::string> words) {
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    if (::posix_spawn(&pid_, executable.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
      throw std::runtime_error("cannot start " + executable.string());
    const std::string commandLineFile = "/proc/" + std::to_string(pid_) + "/cmdline";
    for (int tries = 0; tries < 1000; ++tries) {
      std::ifstream commandLine(commandLineFile);
      std::string firstWord;
      if (std::getline(commandLine, firstWord, '\0') && firstWord == words[0]) return;
      ::usleep(2000);
    }
  }
  // A copy of sleep with `firstWord` as its command line's first word, sleeping long.
  StandInProcess(const std::filesystem::path& executable, const std::string& firstWord)
      : StandInProcess(executable, std::vector<std::string>{firstWord, "600"}) {}
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
