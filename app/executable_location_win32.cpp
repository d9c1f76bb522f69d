#include "app/executable_location_win32.h"

#include <windows.h>

#include <string>

namespace quorvex {

ExecutableLocation SplitModulePath(const Text& modulePath) {
  const size_t slash = modulePath.find_last_of(u"\\/");
  Text folder = slash == Text::npos ? Text() : modulePath.substr(0, slash);
  if (folder.size() == 2 && folder[1] == u':') folder += u'\\';  // "C:" alone means the drive's current folder
  Text name = slash == Text::npos ? modulePath : modulePath.substr(slash + 1);
  const size_t dot = name.find_last_of(u'.');
  if (dot != Text::npos) name.erase(dot);
  return {folder, name};
}

ExecutableLocation RunningExecutable() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // the path was cut: try again with room for it
  }
  return SplitModulePath(Text(path.begin(), path.end()));
}

}  // namespace quorvex
