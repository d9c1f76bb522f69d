// Where the running executable is: its folder and its name, as the program uses them.
#pragma once
#include "common/text.h"

namespace quorvex {

// The folder has no trailing backslash, except a drive's root ("C:\"); the name has no
// extension.
struct ExecutableLocation {
  Text folder;
  Text name;
};

ExecutableLocation SplitModulePath(const Text& modulePath);
ExecutableLocation RunningExecutable();

}  // namespace quorvex
