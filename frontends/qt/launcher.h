// Joining a server on Linux: the Steam client's `steam` command, found on the PATH.
#pragma once
#include "join/launcher.h"

namespace quorvex {

class QtLauncher : public Launcher {
 public:
  // There is no Steam window and no start.bat here: StartThroughSteamCommand is the way.
  bool FindWindowByTitle(const Text&) override { return false; }
  void WriteBatchFile(const Text&, const Text&) override { throw LaunchError("no batch files on Linux"); }
  void StartHidden(const Text&) override { throw LaunchError("no command lines on Linux"); }
  // Starts `steam ARGUMENTS` without a shell and without waiting; steam starts the client
  // first when it is not running.
  bool StartThroughSteamCommand(const std::vector<Text>& arguments) override;
};

}  // namespace quorvex
