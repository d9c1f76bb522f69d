#include "app/executable_location.h"

namespace quorvex {

ExecutableLocation SplitExecutablePath(const Text& path) {
  const size_t slash = path.find_last_of(u"\\/");
  Text folder = slash == Text::npos ? Text() : path.substr(0, slash);
  if (slash == 0) folder = path.substr(0, 1);  // the root keeps its separator
  if (folder.size() == 2 && folder[1] == u':') folder += u'\\';  // "C:" alone means the drive's current folder
  Text name = slash == Text::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of(u'.');
  if (dot != Text::npos) name.erase(dot);
  return {folder, name};
}

}  // namespace quorvex
