#include "app/single_instance_win32.h"

namespace quorvex {

SingleInstanceLock::~SingleInstanceLock() {
  if (mutex_ != nullptr) CloseHandle(mutex_);
}

bool SingleInstanceLock::Acquire() {
  if (mutex_ != nullptr) return true;
  HANDLE mutex = CreateMutexW(nullptr, FALSE, name_);
  // A lock we may not even open was made by someone else: count it as taken.
  if (mutex == nullptr) return false;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return false;
  }
  mutex_ = mutex;
  return true;
}

}  // namespace quorvex
