// On Linux the running executable is the target of /proc/self/exe.
#include <limits.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

#include "app/executable_location.h"

namespace quorvex {

ExecutableLocation RunningExecutable() {
  char path[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) throw std::runtime_error("cannot find the running executable");
  return SplitExecutablePath(FromUtf8(std::string(path, static_cast<size_t>(length))));
}

}  // namespace quorvex
