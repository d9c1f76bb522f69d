// The one way long handlers let pending window events run between their steps.
#pragma once

namespace quorvex {

class EventPump {
 public:
  virtual ~EventPump() = default;
  // Runs pending events. Throws HandlerAborted when the program exited during them.
  virtual void DoEvents() = 0;
};

}  // namespace quorvex
