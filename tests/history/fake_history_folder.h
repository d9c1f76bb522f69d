// A history folder in memory: files by name, and writes that fail on demand.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "history/history_folder.h"

namespace quorvex::testing {

struct HistoryFiles {
  std::map<std::string, std::string> files;
  std::optional<std::string> failWrites;  // the FileError every Append throws
  std::optional<std::string> failReads;   // the FileError every Read throws
  int appends = 0;                        // Append calls, failed ones too
};

class FakeHistoryFolder : public HistoryFolder {
 public:
  explicit FakeHistoryFolder(HistoryFiles& state) : state_(state) {}

  std::vector<std::string> FileNames() override {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : state_.files) names.push_back(name);
    return names;
  }
  std::optional<std::string> Read(const std::string& name, int64_t maxBytes) override {
    if (state_.failReads) throw FileError(*state_.failReads);
    const auto found = state_.files.find(name);
    if (found == state_.files.end()) return std::nullopt;
    if (static_cast<int64_t>(found->second.size()) > maxBytes) throw FileError("file too large: " + name);
    return found->second;
  }
  std::optional<char> LastByte(const std::string& name) override {
    const auto found = state_.files.find(name);
    if (found == state_.files.end() || found->second.empty()) return std::nullopt;
    return found->second.back();
  }
  void Append(const std::string& name, std::string_view bytes) override {
    ++state_.appends;
    if (state_.failWrites) throw FileError(*state_.failWrites);
    state_.files[name] += bytes;
  }
  void Remove(const std::string& name) override { state_.files.erase(name); }

 private:
  HistoryFiles& state_;
};

}  // namespace quorvex::testing
