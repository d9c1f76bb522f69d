#include "history/history_folder.h"

namespace quorvex {

namespace {

// The folder on disk, through the program's file operations.
class FolderOnDisk : public HistoryFolder {
 public:
  explicit FolderOnDisk(const Text& path) : path_(path) {}

  std::vector<std::string> FileNames() override {
    std::vector<std::string> names;
    for (const Text& name : RegularFileNames(path_)) names.push_back(ToUtf8(name));
    return names;
  }
  std::optional<std::string> Read(const std::string& name, int64_t maxBytes) override {
    const Text path = Path(name);
    if (CountsAsMissing(path)) return std::nullopt;
    return ReadFileBytes(path, maxBytes);
  }
  std::optional<char> LastByte(const std::string& name) override { return LastFileByte(Path(name)); }
  void Append(const std::string& name, std::string_view bytes) override { AppendFileBytes(Path(name), bytes); }
  void Remove(const std::string& name) override { RemoveFileQuietly(Path(name)); }

 private:
  Text Path(const std::string& name) const { return JoinPath(path_, FromUtf8(name)); }

  Text path_;
};

}  // namespace

std::unique_ptr<HistoryFolder> MakeHistoryFolder(const Text& path) { return std::make_unique<FolderOnDisk>(path); }

}  // namespace quorvex
