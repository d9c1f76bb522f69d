// The lock as a named mutex in the session's namespace, held until the object goes.
#include <windows.h>

#include <stdexcept>
#include <string>
#include <utility>

#include "app/single_instance.h"
#include "common/kernel_handle_win32.h"

namespace quorvex {

namespace {

constexpr wchar_t kMutexName[] = L"Local\\Quorvex.SingleInstance";

class MutexLock : public SingleInstanceLock {
 public:
  bool Acquire() override {
    if (mutex_.valid()) return true;
    KernelHandle mutex(CreateMutexW(nullptr, FALSE, kMutexName));
    const DWORD error = GetLastError();
    // A lock we may not even open was made by another instance under another account.
    if (!mutex.valid() && error == ERROR_ACCESS_DENIED) return false;
    if (!mutex.valid()) throw std::runtime_error("cannot make the lock (error " + std::to_string(error) + ")");
    if (error == ERROR_ALREADY_EXISTS) return false;  // opened, not made: another instance holds it
    mutex_ = std::move(mutex);
    return true;
  }

 private:
  KernelHandle mutex_;
};

}  // namespace

std::unique_ptr<SingleInstanceLock> MakeSingleInstanceLock(const Text&, const Text&) {
  return std::make_unique<MutexLock>();
}

}  // namespace quorvex
