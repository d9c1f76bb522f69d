// The files of the folder the history is kept in (beside Quorvex.ini): an interface, so tests
// can make writes fail; MakeHistoryFolder is the folder on disk.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/files.h"
#include "common/text.h"

namespace quorvex {

class HistoryFolder {
 public:
  virtual ~HistoryFolder() = default;
  // The names of the regular files in the folder; none when it cannot be listed.
  virtual std::vector<std::string> FileNames() = 0;
  // The file's bytes; nothing when there is no such file. Throws FileError when it cannot
  // be read or holds more than `maxBytes`.
  virtual std::optional<std::string> Read(const std::string& name, int64_t maxBytes) = 0;
  // The file's last byte; nothing when it is missing or empty.
  virtual std::optional<char> LastByte(const std::string& name) = 0;
  // Adds `bytes` at the file's end in one write, creating the file when it is missing.
  // Throws FileError (a full disk, a folder that cannot be written).
  virtual void Append(const std::string& name, std::string_view bytes) = 0;
  // Deletes the file if it is there; never throws.
  virtual void Remove(const std::string& name) = 0;
};

// The folder at `path` (UTF-16, like every path of the program).
std::unique_ptr<HistoryFolder> MakeHistoryFolder(const Text& path);

// How Form1 gets the folder beside Quorvex.ini: MakeHistoryFolder, or a test's own.
using HistoryFolderMaker = std::function<std::unique_ptr<HistoryFolder>(const Text& path)>;

}  // namespace quorvex
