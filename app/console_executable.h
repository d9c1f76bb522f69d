// The folder of the running console executable, where it keeps its files by default.
#pragma once
#include "common/text.h"

namespace quorvex {

// Throws std::runtime_error when the system cannot say.
Text RunningExecutableFolder();

}  // namespace quorvex
