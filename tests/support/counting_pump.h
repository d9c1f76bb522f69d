// An event pump for tests: counts the yields and can run an action inside one.
#pragma once
#include <functional>

#include "common/event_pump.h"

namespace quorvex::testing {

struct CountingPump : EventPump {
  void DoEvents() override {
    ++yields;
    if (onYield) onYield(yields);
  }
  int yields = 0;
  std::function<void(int)> onYield;
};

}  // namespace quorvex::testing
