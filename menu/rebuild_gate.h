// Keeping one servers-menu rebuild from running inside another one's yield.
#pragma once

namespace quorvex {

// Keeps a rebuild from running inside another one's yield (a sort click during a poll's
// rebuild, a poll during a sort click's). The inner request is only noted; when the running
// rebuild ends, the running caller's function runs once more, so it must read the current
// sort and table when it runs (every caller passes the same rebuild). Many inner requests
// make one extra run. An exception, HandlerAborted included, ends the running rebuild, drops
// the noted request and leaves the gate idle.
class RebuildGate {
 public:
  template <class F>
  void Run(F rebuildOnce) {
    if (running_) {
      pendingRequest_ = true;
      return;
    }
    RunningScope scope(*this);
    do {
      pendingRequest_ = false;
      rebuildOnce();
    } while (pendingRequest_);
  }

  bool IsRunning() const { return running_; }

 private:
  // Marks the gate busy for the lifetime of one outer Run, however that Run ends.
  class RunningScope {
   public:
    explicit RunningScope(RebuildGate& gate) : gate_(gate) { gate_.running_ = true; }
    ~RunningScope() {
      gate_.running_ = false;
      gate_.pendingRequest_ = false;
    }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;

   private:
    RebuildGate& gate_;
  };

  bool running_ = false;
  bool pendingRequest_ = false;
};

}  // namespace quorvex
