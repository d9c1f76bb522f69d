// The game among the processes of /proc. Wine names a Windows program's process after its
// .exe, so the game under Wine or Proton shows as "rwr_game.exe" here too.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "common/descriptor_posix.h"
#include "quiet/game_check.h"

namespace quorvex {

namespace {

// What the kernel keeps of a process's name: 15 bytes; a longer one is cut.
constexpr size_t kCommBytes = 15;

bool IsProcessId(const char* name) {
  if (*name == '\0') return false;
  for (; *name != '\0'; ++name)
    if (*name < '0' || *name > '9') return false;
  return true;
}

// The start of a file of /proc (a process may end meanwhile: then nothing).
std::string ReadStart(int procFolder, const std::string& path) {
  const Descriptor file(::openat(procFolder, path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.valid()) return {};
  char buffer[512];
  const ssize_t length = ::read(file.get(), buffer, sizeof buffer);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

// The last part of a path, with either slash (Wine's command lines hold Windows paths).
std::string_view BaseName(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool ProcessIsGame(int procFolder, const char* pid) {
  std::string comm = ReadStart(procFolder, std::string(pid) + "/comm");
  if (!comm.empty() && comm.back() == '\n') comm.pop_back();
  if (IsGameExecutable(comm)) return true;
  if (comm.size() < kCommBytes) return false;
  // A name the kernel may have cut: the command line's first word names the executable.
  const std::string commandLine = ReadStart(procFolder, std::string(pid) + "/cmdline");
  return IsGameExecutable(BaseName(commandLine.c_str()));
}

class ProcessListGameCheck final : public GameCheck {
 public:
  bool GameRuns() override {
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) return false;
    bool found = false;
    while (const dirent* entry = found ? nullptr : ::readdir(proc)) {
      if (IsProcessId(entry->d_name)) found = ProcessIsGame(::dirfd(proc), entry->d_name);
    }
    ::closedir(proc);
    return found;
  }
};

}  // namespace

std::unique_ptr<GameCheck> MakeGameCheck() { return std::make_unique<ProcessListGameCheck>(); }

}  // namespace quorvex
