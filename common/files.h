// The few file operations the program needs, done the platform's way.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

#include "common/text.h"

namespace quorvex {

struct FileError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// `folder` joined with `name` by the platform's separator.
Text JoinPath(const Text& folder, const Text& name);
// True when a regular file is there and is neither hidden nor a system file.
bool VisibleFileExists(const Text& path);
// True when nothing at all is at `path`, not even a link to nothing. On Windows a hidden or
// system file counts as missing too.
bool CountsAsMissing(const Text& path);
// The bytes of a regular file; throws FileError when it cannot be read, is no regular file
// (a directory, a FIFO) or is larger than `maxBytes`.
std::string ReadFileBytes(const Text& path, int64_t maxBytes);
// Writes a new file beside `path` and puts it in place in one step (flushed to disk first),
// so the old file stays whole when anything fails. Throws FileError.
void ReplaceFileBytes(const Text& path, const std::string& bytes);
// Removes a file if it is there; never throws.
void RemoveFileQuietly(const Text& path);

}  // namespace quorvex
