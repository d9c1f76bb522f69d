// The game among the processes of /proc. Wine names a Windows program's process after its
// .exe, so the game under Wine or Proton shows as "rwr_game.exe" here too.
// Each name read costs a few system calls; with hundreds of processes that is most of a
// look, so a name read is trusted for a few looks: a process's name changes only when it
// starts another program or renames itself. A launcher becomes the game within seconds of
// its start, so a young process is read at every look, an older one at every eighth.
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
constexpr size_t kPathBytes = 4096;
// A process seen at fewer looks than this is young: its name is read at every look; an older
// one's at every kLooksPerRead-th.
constexpr unsigned kYoungLooks = 4;
constexpr unsigned kLooksPerRead = 8;

// The process id a /proc entry is named after; 0 for any other entry.
unsigned ProcessId(const char* name) {
  unsigned id = 0;
  for (; *name != '\0'; ++name) {
    if (*name < '0' || *name > '9' || id > 400'000'000) return 0;
    id = id * 10 + unsigned(*name - '0');
  }
  return id;
}

// Up to `bytes` of a file of /proc (a process may end meanwhile: then nothing). A read that
// returns less than asked has reached the end: no further call to learn it.
std::string ReadStart(int procFolder, const std::string& path, size_t bytes) {
  const Descriptor file(::openat(procFolder, path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.valid()) return {};
  std::string text(bytes, '\0');
  size_t length = 0;
  while (length < bytes) {
    const size_t asked = bytes - length;
    const ssize_t got = ::read(file.get(), text.data() + length, asked);
    if (got <= 0) break;
    length += static_cast<size_t>(got);
    if (static_cast<size_t>(got) < asked) break;
  }
  text.resize(length);
  return text;
}

// The last part of a path, with either slash (Wine's command lines hold Windows paths).
std::string_view BaseName(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool ProcessIsGame(int procFolder, const char* pid) {
  std::string comm = ReadStart(procFolder, std::string(pid) + "/comm", 64);
  if (!comm.empty() && comm.back() == '\n') comm.pop_back();
  if (IsGameExecutable(FromUtf8(comm))) return true;
  if (comm.size() < kCommBytes) return false;
  // A name the kernel may have cut: the command line's first word names the executable (a
  // path up to PATH_MAX long).
  const std::string commandLine = ReadStart(procFolder, std::string(pid) + "/cmdline", kPathBytes);
  return IsGameExecutable(FromUtf8(BaseName(commandLine.c_str())));
}

class ProcessListGameCheck final : public GameCheck {
 public:
  bool GameRuns() override {
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) return false;
    ++looks_;
    std::unordered_map<unsigned, Known> running;
    running.reserve(known_.size() + 64);
    bool found = false;
    while (const dirent* entry = ::readdir(proc)) {
      const unsigned id = ProcessId(entry->d_name);
      if (id == 0) continue;
      const auto seen = known_.find(id);
      Known process = seen == known_.end() ? Known{false, looks_} : seen->second;
      // A new process is young. The game itself is read every look: its id may be another
      // process's by the next.
      if (process.game || looks_ - process.firstLook < kYoungLooks || (id + looks_) % kLooksPerRead == 0)
        process.game = ProcessIsGame(::dirfd(proc), entry->d_name);
      running.emplace(id, process);
      found = found || process.game;
    }
    ::closedir(proc);
    known_ = std::move(running);
    return found;
  }

 private:
  struct Known {
    bool game;           // as its name was last read
    unsigned firstLook;  // the look that first saw it
  };
  std::unordered_map<unsigned, Known> known_;  // the processes of the last look, by id
  unsigned looks_ = 0;
};

}  // namespace

std::unique_ptr<GameCheck> MakeGameCheck() { return std::make_unique<ProcessListGameCheck>(); }

}  // namespace quorvex
