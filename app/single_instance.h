// The lock that keeps a second instance of the program from running beside the first.
#pragma once
#include <memory>

#include "common/text.h"

namespace quorvex {

class SingleInstanceLock {
 public:
  virtual ~SingleInstanceLock() = default;
  // Takes the lock for the life of this object; false when another instance holds it.
  // Any other failure throws std::runtime_error saying why: without the lock two instances
  // could run on one home and spoil each other's settings.
  virtual bool Acquire() = 0;
};

// Windows: a mutex in the session's namespace, one instance per log-on session (the folder
// plays no part). POSIX: an advisory lock on `<programFolder>/<programName>.lock`, one
// instance per program folder; the kernel drops it with the process however it ends.
std::unique_ptr<SingleInstanceLock> MakeSingleInstanceLock(const Text& programFolder, const Text& programName);

}  // namespace quorvex
