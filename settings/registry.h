// Five small registry operations: open or create a key, read, write or delete one value.
#pragma once
#include <cstdint>
#include <memory>

#include "common/text.h"

namespace quorvex {

constexpr uint32_t kHkeyCurrentUser = 0x80000001;

// Reads give their default on any failure; writes and deletions fail silently.
class Registry {
 public:
  virtual ~Registry() = default;
  // REG_SZ data up to its first NUL, else `def`.
  virtual Text GetRegString(uint32_t root, const Text& subkey, const Text& name, const Text& def) = 0;
  // REG_DWORD data, else `def`.
  virtual int32_t GetRegDword(uint32_t root, const Text& subkey, const Text& name, int32_t def) = 0;
  virtual void SetRegDword(uint32_t root, const Text& subkey, const Text& name, int32_t value) = 0;
  virtual void SetRegString(uint32_t root, const Text& subkey, const Text& name, const Text& value) = 0;
  virtual void DeleteRegValue(uint32_t root, const Text& subkey, const Text& name) = 0;
};

// The Windows registry on Windows; natively a file store in `storeFolder` that keeps the
// same key paths, value names and types.
std::unique_ptr<Registry> MakeRegistry(const Text& storeFolder);

}  // namespace quorvex
