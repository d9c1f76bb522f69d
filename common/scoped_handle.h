// One system handle owned by one object and closed once, when the object goes, whichever
// way its scope ends. No OS header here: each platform names its closer (the common ones in
// common/kernel_handle_win32.h and common/descriptor_posix.h),
//   struct Closer { static HandleType None(); static void Close(HandleType); };
// None() is the value that holds nothing (nullptr, -1, INVALID_HANDLE_VALUE).
#pragma once
#include <utility>

namespace quorvex {

template <typename Closer>
class ScopedHandle {
 public:
  using Handle = decltype(Closer::None());

  ScopedHandle() = default;
  explicit ScopedHandle(Handle handle) : handle_(handle) {}
  ~ScopedHandle() { Reset(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  // Ownership moves: the one moved from holds nothing.
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    Reset(other.release());
    return *this;
  }

  Handle get() const { return handle_; }
  bool valid() const { return handle_ != Closer::None(); }
  // Closes the handle held, if any, and holds `handle` from now on.
  void Reset(Handle handle = Closer::None()) {
    if (valid()) Closer::Close(handle_);
    handle_ = handle;
  }
  // Gives the handle up unclosed, to a caller that closes it itself (and checks how that
  // went, as a file written must); holds nothing from then on.
  Handle release() { return std::exchange(handle_, Closer::None()); }

 private:
  Handle handle_ = Closer::None();
};

}  // namespace quorvex
