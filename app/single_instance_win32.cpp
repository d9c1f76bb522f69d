// The lock as a named mutex in the session's namespace, held until the object goes.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "app/single_instance.h"

namespace quorvex {

namespace {

constexpr wchar_t kMutexName[] = L"Local\\Quorvex.SingleInstance";

class MutexLock : public SingleInstanceLock {
 public:
  MutexLock() = default;
  ~MutexLock() override {
    if (mutex_ != nullptr) CloseHandle(mutex_);
  }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

  bool Acquire() override {
    if (mutex_ != nullptr) return true;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
    if (mutex == nullptr) {
      const DWORD error = GetLastError();
      // A lock we may not even open was made by another instance under another account.
      if (error == ERROR_ACCESS_DENIED) return false;
      throw std::runtime_error("cannot make the lock (error " + std::to_string(error) + ")");
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
      CloseHandle(mutex);
      return false;
    }
    mutex_ = mutex;
    return true;
  }

 private:
  HANDLE mutex_ = nullptr;
};

}  // namespace

std::unique_ptr<SingleInstanceLock> MakeSingleInstanceLock(const Text&, const Text&) {
  return std::make_unique<MutexLock>();
}

}  // namespace quorvex
