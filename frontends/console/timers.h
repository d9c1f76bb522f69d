// When each of Form1's timers ticks next, on the console's clock.
#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "app/desktop.h"

namespace quorvex {

struct DueTick {
  TimerId timer;
  int64_t at;  // when it was due
};

// A timer ticks every interval from the moment it was last set, as a form timer does.
// Ticks come out in the order they fall due; two due at the same moment come in the order
// they were scheduled, so a run on the virtual clock always goes the same way.
class TimerSchedule {
 public:
  // Setting a timer starts its interval afresh from `now`; disabled or with an interval
  // of 0 or less it never ticks.
  void Set(TimerId timer, bool enabled, int32_t intervalMs, int64_t now);
  // The moment the next tick is due, if any timer runs.
  std::optional<int64_t> NextDue() const;
  // The earliest tick due at or before `until`, its timer already scheduled for the
  // following period; nullopt when none is due by then.
  std::optional<DueTick> TakeDue(int64_t until);

 private:
  struct Entry {
    bool running = false;
    int32_t interval = 0;
    int64_t due = 0;
    uint64_t order = 0;  // when it was scheduled, for ties
  };
  Entry* Earliest();
  const Entry* Earliest() const;
  std::array<Entry, 3> entries_{};
  uint64_t scheduled_ = 0;
};

}  // namespace quorvex
