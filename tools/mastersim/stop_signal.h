// Waiting for the signal that ends mastersim (Ctrl-C, a kill from a test script).
#pragma once

namespace quorvex::mastersim {

// Keeps SIGINT and SIGTERM for WaitForStopSignal and ignores SIGPIPE (a client that
// leaves early must not end the server). Call before any thread starts, so every
// thread inherits it.
void PrepareStopSignals();
// Blocks until SIGINT or SIGTERM arrives.
void WaitForStopSignal();

}  // namespace quorvex::mastersim
