// The lock as a named mutex in the session's namespace, held until the object goes.
#include <windows.h>

#include <stdexcept>
#include <string>

#include "app/single_instance.h"
#include "common/scoped_handle.h"

namespace quorvex {

namespace {

constexpr wchar_t kMutexName[] = L"Local\\Quorvex.SingleInstance";

struct MutexCloser {
  static HANDLE None() { return nullptr; }
  static void Close(HANDLE mutex) { CloseHandle(mutex); }
};

class MutexLock : public SingleInstanceLock {
 public:
  bool Acquire() override {
    if (mutex_.valid()) return true;
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
    mutex_.Reset(mutex);
    return true;
  }

 private:
  ScopedHandle<MutexCloser> mutex_;
};

}  // namespace

std::unique_ptr<SingleInstanceLock> MakeSingleInstanceLock(const Text&, const Text&) {
  return std::make_unique<MutexLock>();
}

}  // namespace quorvex
