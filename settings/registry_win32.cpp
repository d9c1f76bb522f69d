// The five registry operations over the advapi32 W functions; every key is closed on return.
#include <windows.h>

#include <memory>
#include <vector>

#include "common/scoped_handle.h"
#include "common/wide_win32.h"
#include "settings/registry.h"

namespace quorvex {

namespace {

// The W functions stop at the first NUL, so a path or name with one inside would quietly
// address another key or value; such a call addresses nothing instead.
bool HasNul(const Text& text) { return text.find(u'\0') != Text::npos; }

// A root handle is the 32-bit value sign-extended, as the HKEY_* constants are defined.
HKEY RootKey(uint32_t root) {
  return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<int32_t>(root)));
}

struct KeyCloser {
  static HKEY None() { return nullptr; }
  static void Close(HKEY key) { RegCloseKey(key); }
};
using Key = ScopedHandle<KeyCloser>;

// The key opened (or created) with `access`, closed when it goes; none when that failed.
Key OpenKey(uint32_t root, const Text& subkey, REGSAM access, bool create) {
  if (HasNul(subkey)) return Key();
  HKEY key = nullptr;
  const LONG result = create ? RegCreateKeyExW(RootKey(root), Wide(subkey).c_str(), 0, nullptr,
                                               REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr)
                             : RegOpenKeyExW(RootKey(root), Wide(subkey).c_str(), 0, access, &key);
  return Key(result == ERROR_SUCCESS ? key : nullptr);
}

class WindowsRegistry : public Registry {
 public:
  Text GetRegString(uint32_t root, const Text& subkey, const Text& name, const Text& def) override {
    if (HasNul(name)) return def;
    const Key key = OpenKey(root, subkey, KEY_QUERY_VALUE, false);
    if (!key.get()) return def;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), Wide(name).c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
      return def;
    // Room for the reported bytes rounded up to whole units; the data need not end in a NUL.
    std::vector<char16_t> buffer(size / sizeof(char16_t) + 1, u'\0');
    DWORD got = static_cast<DWORD>(buffer.size() * sizeof(char16_t));
    if (RegQueryValueExW(key.get(), Wide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
      return def;  // changed between the two calls
    const Text data(buffer.data(), got / sizeof(char16_t));
    return data.substr(0, data.find(u'\0'));
  }

  int32_t GetRegDword(uint32_t root, const Text& subkey, const Text& name, int32_t def) override {
    if (HasNul(name)) return def;
    const Key key = OpenKey(root, subkey, KEY_QUERY_VALUE, false);
    if (!key.get()) return def;
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExW(key.get(), Wide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
      return def;
    return static_cast<int32_t>(value);
  }

  void SetRegDword(uint32_t root, const Text& subkey, const Text& name, int32_t value) override {
    if (HasNul(name)) return;
    const Key key = OpenKey(root, subkey, KEY_SET_VALUE, true);
    if (!key.get()) return;
    const DWORD data = static_cast<DWORD>(value);
    RegSetValueExW(key.get(), Wide(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
  }

  void SetRegString(uint32_t root, const Text& subkey, const Text& name, const Text& value) override {
    if (HasNul(name)) return;
    // The data with its terminating NUL; anything larger than a DWORD can count is not written.
    const uint64_t bytes = (static_cast<uint64_t>(value.size()) + 1) * sizeof(char16_t);
    if (bytes > MAXDWORD) return;
    const Key key = OpenKey(root, subkey, KEY_SET_VALUE, true);
    if (!key.get()) return;
    RegSetValueExW(key.get(), Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(bytes));
  }

  void DeleteRegValue(uint32_t root, const Text& subkey, const Text& name) override {
    if (HasNul(name)) return;
    const Key key = OpenKey(root, subkey, KEY_SET_VALUE, false);
    if (!key.get()) return;
    RegDeleteValueW(key.get(), Wide(name).c_str());
  }
};

}  // namespace

std::unique_ptr<Registry> MakeRegistry(const Text& /*storeFolder*/) { return std::make_unique<WindowsRegistry>(); }

}  // namespace quorvex
