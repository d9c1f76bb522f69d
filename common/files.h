// The few file operations the program needs, done the platform's way.
#pragma once
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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
// Adds `bytes` at the end of the file in one write, creating it when it is missing. Throws
// FileError (a full disk, a folder that cannot be written, a folder of that name).
void AppendFileBytes(const Text& path, std::string_view bytes);
// The last byte of a regular file; nothing when it is missing, empty or cannot be read.
std::optional<char> LastFileByte(const Text& path);
// The names of the regular files in `folder`; none when it cannot be listed.
std::vector<Text> RegularFileNames(const Text& folder);

}  // namespace quorvex
