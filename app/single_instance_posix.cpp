// The lock as an advisory lock on a file (flock), which the kernel drops with the process.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "app/single_instance.h"
#include "common/files.h"

namespace quorvex {

namespace {

class FlockLock : public SingleInstanceLock {
 public:
  explicit FlockLock(std::string path) : path_(std::move(path)) {}
  ~FlockLock() override {
    if (fd_ >= 0) ::close(fd_);
  }
  FlockLock(const FlockLock&) = delete;
  FlockLock& operator=(const FlockLock&) = delete;

  bool Acquire() override {
    if (fd_ >= 0) return true;
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    // A program folder we cannot write to holds no settings another instance could spoil.
    if (fd < 0) return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd);
      return false;
    }
    fd_ = fd;
    return true;
  }

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace

std::unique_ptr<SingleInstanceLock> MakeSingleInstanceLock(const Text& programFolder, const Text& programName) {
  return std::make_unique<FlockLock>(ToUtf8(JoinPath(programFolder, programName + u".lock")));
}

}  // namespace quorvex
