// Where the running executable is: its folder and its name, as the program uses them.
#pragma once
#include "common/text.h"

namespace quorvex {

// The folder has no trailing separator, except a root ("C:\" or "/"); the name has no
// extension.
struct ExecutableLocation {
  Text folder;
  Text name;
};

// Splits at the last "\" or "/", so Windows and POSIX paths both split.
ExecutableLocation SplitExecutablePath(const Text& path);
// Throws std::runtime_error when the system cannot say.
ExecutableLocation RunningExecutable();

}  // namespace quorvex
