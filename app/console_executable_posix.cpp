// On Linux the running executable is the target of /proc/self/exe.
#include <limits.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

#include "app/console_executable.h"

namespace quorvex {

Text RunningExecutableFolder() {
  char path[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) throw std::runtime_error("cannot find the running executable");
  std::string folder(path, static_cast<size_t>(length));
  const size_t slash = folder.rfind('/');
  folder.erase(slash == 0 ? 1 : slash);  // the root keeps its slash
  return FromUtf8(folder);
}

}  // namespace quorvex
