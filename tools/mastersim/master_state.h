// What a running mastersim holds between requests: the scenario, where its timeline
// stands and the fault of each endpoint. Every request thread goes through one lock.
#pragma once
#include <map>
#include <mutex>

#include "tools/mastersim/scenario.h"

namespace quorvex::mastersim {

class MasterState {
 public:
  explicit MasterState(Scenario scenario);

  // A count request: the first shows step 0, each later one the next step, and after
  // the last step the timeline starts over. Returns the servers the count describes.
  ServerSet AdvanceForCount();
  // The servers of the step the last count request showed (step 0 before any).
  ServerSet Current() const;
  // Back to the state before the first count request.
  void Rewind();
  int StepShown() const;

  Fault FaultFor(Endpoint endpoint) const;
  void SetFault(Endpoint endpoint, const Fault& fault);
  void ClearFaults();

  const std::string& LatestVersion() const { return scenario_.latestVersion; }

 private:
  mutable std::mutex mutex_;
  Scenario scenario_;
  long countRequests_ = 0;
};

}  // namespace quorvex::mastersim
