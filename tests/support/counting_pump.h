// An event pump for tests: counts the yields and can run an action inside one.
#pragma once
#include <functional>

#include "common/event_pump.h"

namespace quorvex::testing {

struct CountingLoop : EventLoop {
  void DoEvents() override {
    ++yields;
    if (onYield) onYield(yields);
  }
  int yields = 0;
  std::function<void(int)> onYield;
  bool exited = false;  // set inside a yield, it stands for an Exit
};

// A pump over that loop, as Form1's over its desktop: once `exited` is set, the yield
// throws HandlerAborted.
struct CountingPump : CountingLoop, EventPump {
  CountingPump() : EventPump(static_cast<EventLoop&>(*this), exited) {}
};

}  // namespace quorvex::testing
