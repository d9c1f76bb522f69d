// Starting the game: finding the Steam window, writing start.bat, starting a command line,
// or (on Linux) the steam command.
#pragma once
#include <memory>
#include <stdexcept>
#include <vector>

#include "common/text.h"

namespace quorvex {

struct LaunchError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class Launcher {
 public:
  virtual ~Launcher() = default;
  // Whether a top-level window with exactly this title exists.
  virtual bool FindWindowByTitle(const Text& title) = 0;
  // Writes a batch file in the code page the command interpreter reads, replacing any old
  // one whole. Throws LaunchError when the text cannot be held in that code page or the
  // file cannot be written.
  virtual void WriteBatchFile(const Text& path, const Text& text) = 0;
  // Starts the command line as a new process with a hidden window, without waiting.
  // Throws LaunchError when it cannot be started.
  virtual void StartHidden(const Text& commandLine) = 0;
  // Linux has no Steam window to look for and no start.bat: there the game starts only
  // through the Steam client's `steam` command, with these arguments, and this returns
  // true (or throws LaunchError when there is no such command). False where the other
  // ways apply.
  virtual bool StartThroughSteamCommand(const std::vector<Text>& /*arguments*/) { return false; }
};

}  // namespace quorvex
