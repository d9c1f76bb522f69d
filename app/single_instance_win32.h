// The lock that tells a second start in the same user session that the program runs.
#pragma once
#include <windows.h>

namespace quorvex {

inline constexpr wchar_t kSingleInstanceLockName[] = L"Local\\Quorvex.SingleInstance";

// A named mutex in the session's namespace, held from Acquire until this object goes.
class SingleInstanceLock {
 public:
  explicit SingleInstanceLock(const wchar_t* name = kSingleInstanceLockName) : name_(name) {}
  ~SingleInstanceLock();
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  // False when another holder (another instance) has the lock.
  bool Acquire();

 private:
  const wchar_t* name_;
  HANDLE mutex_ = nullptr;
};

}  // namespace quorvex
