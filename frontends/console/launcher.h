// Joining a server from the console: the batch file and the command line are reported,
// nothing is written or started. No window exists for the console, so there is no Steam
// window and a join always goes the start.bat way.
#pragma once
#include "frontends/console/output.h"
#include "join/launcher.h"

namespace quorvex {

class ConsoleLauncher : public Launcher {
 public:
  explicit ConsoleLauncher(ConsoleOutput& output) : output_(output) {}
  bool FindWindowByTitle(const Text&) override { return false; }
  void WriteBatchFile(const Text& path, const Text& text) override { output_.File(path, text); }
  void StartHidden(const Text& commandLine) override { output_.Start(commandLine); }

 private:
  ConsoleOutput& output_;
};

}  // namespace quorvex
