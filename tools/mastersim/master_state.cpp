#include "tools/mastersim/master_state.h"

namespace quorvex::mastersim {

MasterState::MasterState(Scenario scenario) : scenario_(std::move(scenario)) {
  if (scenario_.timeline.empty()) scenario_.timeline.emplace_back();
}

ServerSet MasterState::AdvanceForCount() {
  std::lock_guard lock(mutex_);
  ++countRequests_;
  return scenario_.timeline[static_cast<size_t>(countRequests_ - 1) % scenario_.timeline.size()];
}

int MasterState::StepShown() const {
  std::lock_guard lock(mutex_);
  if (countRequests_ == 0) return 0;
  return static_cast<int>(static_cast<size_t>(countRequests_ - 1) % scenario_.timeline.size());
}

ServerSet MasterState::Current() const {
  const int step = StepShown();
  std::lock_guard lock(mutex_);
  return scenario_.timeline[static_cast<size_t>(step)];
}

void MasterState::Rewind() {
  std::lock_guard lock(mutex_);
  countRequests_ = 0;
}

Fault MasterState::FaultFor(Endpoint endpoint) const {
  std::lock_guard lock(mutex_);
  const auto found = scenario_.faults.find(endpoint);
  return found == scenario_.faults.end() ? Fault{} : found->second;
}

void MasterState::SetFault(Endpoint endpoint, const Fault& fault) {
  std::lock_guard lock(mutex_);
  scenario_.faults[endpoint] = fault;
}

void MasterState::ClearFaults() {
  std::lock_guard lock(mutex_);
  scenario_.faults.clear();
}

}  // namespace quorvex::mastersim
