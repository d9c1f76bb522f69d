// The console's clock in milliseconds: the steady clock, or a virtual one that only moves
// when it is told to, so a run of many polls takes no waiting and always goes alike. Its
// time of day moves with it: on the virtual clock from a start given or the real time at
// start, so a test can place polls in known hours.
#pragma once
#include <chrono>
#include <cstdint>
#include <optional>
#include <stdexcept>

namespace quorvex {

class ConsoleClock {
 public:
  // `wallClockStart`: milliseconds since 1970 (UTC) the virtual clock's 0 stands for.
  explicit ConsoleClock(bool virtualTime, std::optional<int64_t> wallClockStart = std::nullopt)
      : virtual_(virtualTime),
        start_(std::chrono::steady_clock::now()),
        wallStart_(wallClockStart.value_or(SystemNow())) {}

  bool IsVirtual() const { return virtual_; }

  // Milliseconds since the console started (virtual: since 0).
  int64_t Now() const {
    if (virtual_) return virtualNow_;
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
  }

  // Milliseconds since 1970-01-01T00:00Z: the system's, or on the virtual clock its start
  // moved on by the virtual time.
  int64_t WallNow() const { return virtual_ ? wallStart_ + virtualNow_ : SystemNow(); }

  // Virtual time only; it never runs backwards.
  void AdvanceTo(int64_t ms) {
    if (!virtual_) throw std::logic_error("the real clock cannot be set");
    if (ms > virtualNow_) virtualNow_ = ms;
  }

 private:
  static int64_t SystemNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
  }

  bool virtual_;
  std::chrono::steady_clock::time_point start_;
  int64_t wallStart_;
  int64_t virtualNow_ = 0;
};

}  // namespace quorvex
