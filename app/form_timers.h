// Form1's three timers, Interval and Enabled as the form sets them; each change is told to
// the desktop, which ticks them.
#pragma once
#include <cstdint>

#include "app/desktop.h"

namespace quorvex {

struct Timer {
  int32_t Interval = 0;
  bool Enabled = false;
};

class FormTimers {
 public:
  explicit FormTimers(Desktop& desktop) : desktop_(desktop) {}

  Timer& Of(TimerId timer);
  const Timer& Of(TimerId timer) const { return const_cast<FormTimers*>(this)->Of(timer); }
  void Set(TimerId timer, bool enabled, int32_t interval);

  Timer timer1{2000, false}, timer2{4000, false}, timer3{250, false};

 private:
  Desktop& desktop_;
};

}  // namespace quorvex
