// An event pump with nothing pending, so the benchmarks time the work alone.
#pragma once
#include "common/event_pump.h"

namespace quorvex::bench {

// A pump over a loop that never has anything to run; nobody exits.
class NoOpPump : public EventPump {
 public:
  NoOpPump() : EventPump(nothingPending, nobodyExits) {}

 private:
  struct NothingPending : EventLoop {
    void DoEvents() override {}
  };
  static inline NothingPending nothingPending;
  static constexpr bool nobodyExits = false;
};

}  // namespace quorvex::bench
