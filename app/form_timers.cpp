#include "app/form_timers.h"

#include <stdexcept>

namespace quorvex {

Timer& FormTimers::Of(TimerId timer) {
  switch (timer) {
    case TimerId::Timer1:
      return timer1;
    case TimerId::Timer2:
      return timer2;
    case TimerId::Timer3:
      return timer3;
  }
  throw std::out_of_range("no such timer");
}

void FormTimers::Set(TimerId timer, bool enabled, int32_t interval) {
  Timer& target = Of(timer);
  target.Enabled = enabled;
  target.Interval = interval;
  desktop_.TimerChanged(timer, enabled, interval);
}

}  // namespace quorvex
