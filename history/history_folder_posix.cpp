// The history's folder on POSIX: names are the bytes of UTF-8 paths.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "history/history_folder.h"

namespace quorvex {

namespace {

class PosixHistoryFolder : public HistoryFolder {
 public:
  explicit PosixHistoryFolder(const Text& path) : path_(path) {}

  std::vector<std::string> FileNames() override {
    std::vector<std::string> names;
    DIR* folder = ::opendir(ToUtf8(path_).c_str());
    if (folder == nullptr) return names;
    while (const dirent* entry = ::readdir(folder)) {
      const std::string name = entry->d_name;
      struct stat info {};
      if (::lstat(Path(name).c_str(), &info) == 0 && S_ISREG(info.st_mode)) names.push_back(name);
    }
    ::closedir(folder);
    return names;
  }

  std::optional<std::string> Read(const std::string& name, int64_t maxBytes) override {
    const Text path = JoinPath(path_, FromUtf8(name));
    if (CountsAsMissing(path)) return std::nullopt;
    return ReadFileBytes(path, maxBytes);
  }

  std::optional<char> LastByte(const std::string& name) override {
    const int fd = ::open(Path(name).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    char last = 0;
    const bool found = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
                       ::pread(fd, &last, 1, info.st_size - 1) == 1;
    ::close(fd);
    return found ? std::optional<char>(last) : std::nullopt;
  }

  void Append(const std::string& name, std::string_view bytes) override {
    const std::string path = Path(name);
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) Fail("cannot open", path);
    size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t put = ::write(fd, bytes.data() + written, bytes.size() - written);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        Fail("cannot write", path);
      }
      written += static_cast<size_t>(put);
    }
    if (::close(fd) != 0) Fail("cannot write", path);
  }

  void Remove(const std::string& name) override { ::unlink(Path(name).c_str()); }

 private:
  std::string Path(const std::string& name) const { return ToUtf8(JoinPath(path_, FromUtf8(name))); }

  [[noreturn]] static void Fail(const std::string& what, const std::string& path) {
    throw FileError(what + " " + path + ": " + std::strerror(errno));
  }

  Text path_;
};

}  // namespace

std::unique_ptr<HistoryFolder> MakeHistoryFolder(const Text& path) { return std::make_unique<PosixHistoryFolder>(path); }

}  // namespace quorvex
