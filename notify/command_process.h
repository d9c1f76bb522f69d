// Starting one notifyCommand as a process of its own: no shell, no window, nothing in or out,
// and a way to wait for it with a limit and to end it with everything it started.
#pragma once
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "common/text.h"

namespace quorvex {

struct CommandStartError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct CommandRequest {
  // The line as the player wrote it, blanks before the program left out; Windows hands it
  // on unchanged, so the program reads the same arguments from it.
  Text commandLine;
  // The same line split: the program first, never empty.
  std::vector<Text> arguments;
  // Added to the environment the program inherits, replacing any of the same name.
  std::vector<std::pair<Text, Text>> environment;
};

// How a command ended: its exit code, or (POSIX) the signal that ended it.
struct CommandEnd {
  uint32_t exitCode = 0;
  int signal = 0;
};

class CommandProcess {
 public:
  // Does not wait for the command; one still running is ended.
  virtual ~CommandProcess() = default;
  // Waits at most `limit`; how the command ended, or nothing when it still runs.
  virtual std::optional<CommandEnd> WaitFor(std::chrono::milliseconds limit) = 0;
  // Ends the command and every process it started that still runs with it. Safe from
  // another thread while WaitFor waits: that wait then ends.
  virtual void End() = 0;
};

class CommandStarter {
 public:
  virtual ~CommandStarter() = default;
  // Starts the command, its standard input from the null device, its output discarded.
  // Throws CommandStartError saying why when it cannot be started.
  virtual std::unique_ptr<CommandProcess> Start(const CommandRequest& request) = 0;
};

// This system's starter (command_process_posix.cpp, command_process_win32.cpp).
std::unique_ptr<CommandStarter> MakeSystemCommandStarter();

}  // namespace quorvex
