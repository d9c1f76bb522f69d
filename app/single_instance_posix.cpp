// The lock as an advisory lock on a file (flock), which the kernel drops with the process.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

#include "app/single_instance.h"
#include "common/files.h"
#include "common/descriptor_posix.h"

namespace quorvex {

namespace {

class FlockLock : public SingleInstanceLock {
 public:
  explicit FlockLock(std::string path) : path_(std::move(path)) {}

  bool Acquire() override {
    if (lock_.valid()) return true;
    // O_NONBLOCK: a FIFO put where the lock goes must not hang the start.
    Descriptor file(::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644));
    if (!file.valid()) Fail("cannot open");
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
      throw std::runtime_error("the lock " + path_ + " is not a regular file");
    }
    int locked;
    do {
      locked = ::flock(file.get(), LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0 && errno == EWOULDBLOCK) return false;  // another instance holds it
    if (locked != 0) Fail("cannot lock");
    lock_ = std::move(file);
    return true;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error(what + " the lock " + path_ + ": " + std::strerror(errno));
  }

  std::string path_;
  Descriptor lock_;  // the locked file, held open
};

}  // namespace

std::unique_ptr<SingleInstanceLock> MakeSingleInstanceLock(const Text& programFolder, const Text& programName) {
  return std::make_unique<FlockLock>(ToUtf8(JoinPath(programFolder, programName + u".lock")));
}

}  // namespace quorvex
