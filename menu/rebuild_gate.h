// Keeping one servers-menu rebuild from running inside another one's yield, or inside a
// poll that is still writing the table.
#pragma once
#include "common/busy_scope.h"

namespace quorvex {

// Keeps a rebuild from running inside another one's yield (a sort click during a poll's
// rebuild, a poll during a sort click's) or while a poll holds the gate (a sort click while
// the poll writes the records, which a sort would mix up). The inner request is only noted;
// when the running rebuild ends, the running caller's function runs once more, so it must
// read the current sort and table when it runs (every caller passes the same rebuild). A
// request noted during a hold is taken in by the holder's own rebuild at its end. Many inner
// requests make one extra run. An exception, HandlerAborted included, ends the running
// rebuild or the hold, drops the noted request and leaves the gate idle.
class RebuildGate {
 public:
  template <class F>
  void Run(F rebuildOnce) {
    if (running_ || held_) {
      pendingRequest_ = true;
      return;
    }
    const BusyScope running(running_);
    do {
      pendingRequest_ = false;
      rebuildOnce();
    } while (pendingRequest_);
  }

  // Holds the gate for as long as the returned scope lives; the holder ends with a rebuild
  // of its own through Run, after the scope.
  [[nodiscard]] BusyScope Hold() { return BusyScope(held_); }

  bool IsRunning() const { return running_; }

 private:
  bool running_ = false;
  bool held_ = false;
  bool pendingRequest_ = false;
};

}  // namespace quorvex
