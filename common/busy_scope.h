// Marking a piece of work as running for exactly as long as it runs.
#pragma once

namespace quorvex {

// Sets `busy` for the lifetime of the scope and clears it however the scope ends (a
// return, an error, an Exit inside a yield).
class BusyScope {
 public:
  explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
  ~BusyScope() { busy_ = false; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& busy_;
};

}  // namespace quorvex
