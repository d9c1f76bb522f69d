// The game among the processes of /proc. Wine names a Windows program's process after its
// .exe, so the game under Wine or Proton shows as "rwr_game.exe" here too.
// Each name read costs a few system calls; with hundreds of processes that is most of a
// look, so a name read once is trusted for a few looks: a process's name changes only when
// it starts another program or renames itself, and a game that did is found at one of the
// next looks.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <unordered_map>

#include "common/descriptor_posix.h"
#include "quiet/game_check.h"

namespace quorvex {

namespace {

// What the kernel keeps of a process's name: 15 bytes; a longer one is cut.
constexpr size_t kCommBytes = 15;
// A process whose name was read is read again every this many looks (a new one at once).
constexpr unsigned kLooksPerRead = 4;

// The process id a /proc entry is named after; 0 for any other entry.
unsigned ProcessId(const char* name) {
  unsigned id = 0;
  for (; *name != '\0'; ++name) {
    if (*name < '0' || *name > '9' || id > 400'000'000) return 0;
    id = id * 10 + unsigned(*name - '0');
  }
  return id;
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
    ++looks_;
    std::unordered_map<unsigned, bool> isGame;  // of the processes running now
    isGame.reserve(known_.size() + 64);
    bool found = false;
    while (const dirent* entry = ::readdir(proc)) {
      const unsigned id = ProcessId(entry->d_name);
      if (id == 0) continue;
      const auto known = known_.find(id);
      // The game itself is read every look: its id may be another process's by the next.
      const bool read = known == known_.end() || known->second || (id + looks_) % kLooksPerRead == 0;
      const bool game = read ? ProcessIsGame(::dirfd(proc), entry->d_name) : false;
      isGame.emplace(id, game);
      found = found || game;
    }
    ::closedir(proc);
    known_ = std::move(isGame);
    return found;
  }

 private:
  std::unordered_map<unsigned, bool> known_;  // whether each process was the game, by id
  unsigned looks_ = 0;
};

}  // namespace

std::unique_ptr<GameCheck> MakeGameCheck() { return std::make_unique<ProcessListGameCheck>(); }

}  // namespace quorvex
