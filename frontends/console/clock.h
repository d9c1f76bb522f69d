// The console's clock in milliseconds: the steady clock, or a virtual one that only moves
// when it is told to, so a run of many polls takes no waiting and always goes alike.
#pragma once
#include <chrono>
#include <cstdint>
#include <stdexcept>

namespace quorvex {

class ConsoleClock {
 public:
  explicit ConsoleClock(bool virtualTime) : virtual_(virtualTime), start_(std::chrono::steady_clock::now()) {}

  bool IsVirtual() const { return virtual_; }

  // Milliseconds since the console started (virtual: since 0).
  int64_t Now() const {
    if (virtual_) return virtualNow_;
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
  }

  // Virtual time only; it never runs backwards.
  void AdvanceTo(int64_t ms) {
    if (!virtual_) throw std::logic_error("the real clock cannot be set");
    if (ms > virtualNow_) virtualNow_ = ms;
  }

 private:
  bool virtual_;
  std::chrono::steady_clock::time_point start_;
  int64_t virtualNow_ = 0;
};

}  // namespace quorvex
