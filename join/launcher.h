// Starting the game: finding the Steam window, writing start.bat, starting a command line,
// or (on Linux) finding Steam and starting the program that joins through it.
#pragma once
#include <optional>
#include <stdexcept>

#include "common/text.h"
#include "join/steam_on_linux.h"

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
  // Linux has no Steam window to look for and no start.bat: there the game starts through
  // the Steam this finds (join/steam_on_linux.h). Nothing where the other ways apply.
  virtual std::optional<FoundSteam> FindSteam() { return std::nullopt; }
  // Starts the program with its arguments, without a shell and without waiting. Throws
  // LaunchError when it cannot be started. Asked only of a launcher whose FindSteam finds.
  virtual void StartProgram(const ProgramStart& /*start*/) { throw LaunchError("no programs start here"); }
};

}  // namespace quorvex
