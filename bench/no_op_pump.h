// An event pump with nothing pending, so the benchmarks time the work alone.
#pragma once
#include "common/event_pump.h"

namespace quorvex::bench {

class NoOpPump : public EventPump {
 public:
  void DoEvents() override {}
};

}  // namespace quorvex::bench
