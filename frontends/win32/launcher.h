// Starting the game on Windows: FindWindowW, the batch file in the OEM code page, CreateProcessW.
#pragma once
#include <string>

#include "join/launcher.h"

namespace quorvex {

class LauncherWin32 : public Launcher {
 public:
  bool FindWindowByTitle(const Text& title) override;
  void WriteBatchFile(const Text& path, const Text& text) override;
  void StartHidden(const Text& commandLine) override;
};

// The text in the console (OEM) code page, which cmd.exe reads a batch file in. Throws
// LaunchError when a character has no exact place there: a best-fit or default character
// would change a folder name and send the batch file somewhere else.
std::string ToConsoleCodePage(const Text& text);

// Whether the program a command line starts is a batch file (.bat or .cmd), which only
// the command interpreter can run.
bool StartsBatchFile(const Text& commandLine);

}  // namespace quorvex
