// Rewriting the servers submenu from the server table, and keeping rebuilds from nesting.
#pragma once
#include <array>
#include <cstdint>

#include "common/event_pump.h"
#include "menu/menu_model.h"
#include "servers/server_table.h"

namespace quorvex {

// The records the servers submenu shows, by slot (0 unused): a click on a line acts on the
// record that line was written from, whatever a later poll put into that table slot.
using ShownServers = std::array<ServerRecord, ServerTable::kSlots + 1>;

// Sets "menServerTitle" to the header with the marker on the sort column.
void UpdateServerTitle(MenuTree& menu, int16_t sort);

// Sorts slots 1..min(serverCount, 16) by `sort`, writes the three items of every slot
// 1..16 of "menServername" (server line, player line, separator), hides the items from
// 3 × serverCount on, and sets the captions "Servers (n)" and the header. A count of 0 or
// less hides all 48 items. Yields as it goes; HandlerAborted passes through.
void RebuildServerMenu(MenuTree& menu, ServerTable& servers, int16_t serverCount, int16_t sort, EventPump& pump,
                       ShownServers& shownServers);

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
