// The lock as an advisory lock on a file (flock), which the kernel drops with the process.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include "app/single_instance.h"
#include "common/files.h"
#include "common/scoped_handle.h"

namespace quorvex {

namespace {

struct FileCloser {
  static int None() { return -1; }
  static void Close(int fd) { ::close(fd); }
};

class FlockLock : public SingleInstanceLock {
 public:
  explicit FlockLock(std::string path) : path_(std::move(path)) {}

  bool Acquire() override {
    if (lock_.valid()) return true;
    // O_NONBLOCK: a FIFO put where the lock goes must not hang the start.
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) Fail("cannot open");
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      ::close(fd);
      throw std::runtime_error("the lock " + path_ + " is not a regular file");
    }
    int locked;
    do {
      locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
      const int error = errno;
      ::close(fd);
      if (error == EWOULDBLOCK) return false;  // another instance holds it
      errno = error;
      Fail("cannot lock");
    }
    lock_.Reset(fd);
    return true;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error(what + " the lock " + path_ + ": " + std::strerror(errno));
  }

  std::string path_;
  ScopedHandle<FileCloser> lock_;  // the locked file, held open
};

}  // namespace

std::unique_ptr<SingleInstanceLock> MakeSingleInstanceLock(const Text& programFolder, const Text& programName) {
  return std::make_unique<FlockLock>(ToUtf8(JoinPath(programFolder, programName + u".lock")));
}

}  // namespace quorvex
