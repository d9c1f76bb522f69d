// One console per home folder: two would overwrite each other's settings at Exit.
#pragma once
#include <memory>

#include "common/text.h"

namespace quorvex {

class InstanceLock {
 public:
  virtual ~InstanceLock() = default;
  // Takes the lock for the life of this object; false when another process holds it.
  virtual bool Acquire() = 0;
};

// A lock on the file quorvex-console.lock in `homeFolder`, released by the system when the
// process ends however it ends.
std::unique_ptr<InstanceLock> MakeHomeLock(const Text& homeFolder);

}  // namespace quorvex
