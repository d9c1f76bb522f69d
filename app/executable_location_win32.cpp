#include <windows.h>

#include <stdexcept>
#include <string>

#include "app/executable_location.h"

namespace quorvex {

ExecutableLocation RunningExecutable() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw std::runtime_error("cannot find the running executable");
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // the path was cut: try again with room for it
  }
  return SplitExecutablePath(Text(path.begin(), path.end()));
}

}  // namespace quorvex
