// The registry where there is none: the same keys, names and types kept in one text file.
#pragma once
#include <cstdint>

#include "common/text.h"
#include "settings/registry.h"

namespace quorvex {

// Windows' numbers for the value types the store knows by name.
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegDword = 4;

// Keeps every value as one line of `registry.txt` in the store folder and rewrites the
// whole file atomically on every change, so a crash leaves the old or the new file.
//
// Key paths are looked up as Windows resolves them: letters compare without case (ASCII and
// Latin-1; Windows folds every script), empty parts such as a trailing or doubled backslash
// are ignored, and a path that starts with a backslash names no key. Value names compare
// without case as well. The path is stored as the caller wrote it.
class FileRegistry : public Registry {
 public:
  explicit FileRegistry(const Text& storeFolder);

  Text GetRegString(uint32_t root, const Text& subkey, const Text& name, const Text& def) override;
  int32_t GetRegDword(uint32_t root, const Text& subkey, const Text& name, int32_t def) override;
  void SetRegDword(uint32_t root, const Text& subkey, const Text& name, int32_t value) override;
  void SetRegString(uint32_t root, const Text& subkey, const Text& name, const Text& value) override;
  void DeleteRegValue(uint32_t root, const Text& subkey, const Text& name) override;

  // Stores `data` as a value of any type but REG_DWORD (REG_EXPAND_SZ, say), as
  // RegSetValueExW can; only REG_SZ is ever read back as a string.
  void SetRegText(uint32_t root, const Text& subkey, const Text& name, uint32_t type, const Text& data);

  const Text& StorePath() const { return storePath_; }

 private:
  Text storePath_;
};

}  // namespace quorvex
