// Where the console's commands and its stop signals come from.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace quorvex {

enum class InputEvent { Line, Signal, Timeout, EndOfInput };

class ConsoleInput {
 public:
  virtual ~ConsoleInput() = default;
  // Waits for a whole line, a stop signal, or `timeoutMs` to pass (nullopt: no limit).
  // A signal comes before a line. EndOfInput is reported once; after it only signals and
  // time-outs remain.
  virtual InputEvent Wait(std::optional<int64_t> timeoutMs, std::string& line) = 0;
  // A whole line that can be had without blocking.
  virtual bool TakeReadyLine(std::string& line) = 0;
  // Whether a stop signal came since the last look; never blocks.
  virtual bool TakeSignal() = 0;
  // Blocks until a stop signal comes, Wake is called, `timeoutMs` pass, or, when
  // `withLines`, input arrives (read into the buffer for TakeReadyLine); takes nothing.
  virtual void WaitForActivity(int32_t timeoutMs, bool withLines) = 0;
  // Ends the WaitForActivity in progress, or else the next one; safe from any thread.
  virtual void Wake() = 0;
};

// Lines from stdin; SIGINT and SIGTERM are caught from now on and reported as signals,
// SIGPIPE is ignored.
std::unique_ptr<ConsoleInput> MakeStdinInput();

}  // namespace quorvex
