// The five registry operations over the advapi32 W functions; every key is closed on return.
#include <windows.h>

#include <memory>
#include <vector>

#include "settings/registry.h"

namespace quorvex {

namespace {

// The W functions stop at the first NUL, so a path or name with one inside would quietly
// address another key or value; such a call addresses nothing instead.
bool HasNul(const Text& text) { return text.find(u'\0') != Text::npos; }

const wchar_t* Wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// A root handle is the 32-bit value sign-extended, as the HKEY_* constants are defined.
HKEY RootKey(uint32_t root) {
  return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<int32_t>(root)));
}

// An open key that closes itself.
class OpenKey {
 public:
  OpenKey(uint32_t root, const Text& subkey, REGSAM access, bool create) {
    if (HasNul(subkey)) return;
    const LONG result = create ? RegCreateKeyExW(RootKey(root), Wide(subkey), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                 access, nullptr, &key_, nullptr)
                               : RegOpenKeyExW(RootKey(root), Wide(subkey), 0, access, &key_);
    if (result != ERROR_SUCCESS) key_ = nullptr;
  }
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

class WindowsRegistry : public Registry {
 public:
  Text GetRegString(uint32_t root, const Text& subkey, const Text& name, const Text& def) override {
    if (HasNul(name)) return def;
    const OpenKey key(root, subkey, KEY_QUERY_VALUE, false);
    if (!key.get()) return def;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), Wide(name), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
      return def;
    // Room for the reported bytes rounded up to whole units; the data need not end in a NUL.
    std::vector<char16_t> buffer(size / sizeof(char16_t) + 1, u'\0');
    DWORD got = static_cast<DWORD>(buffer.size() * sizeof(char16_t));
    if (RegQueryValueExW(key.get(), Wide(name), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
      return def;  // changed between the two calls
    const Text data(buffer.data(), got / sizeof(char16_t));
    return data.substr(0, data.find(u'\0'));
  }

  int32_t GetRegDword(uint32_t root, const Text& subkey, const Text& name, int32_t def) override {
    if (HasNul(name)) return def;
    const OpenKey key(root, subkey, KEY_QUERY_VALUE, false);
    if (!key.get()) return def;
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExW(key.get(), Wide(name), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
      return def;
    return static_cast<int32_t>(value);
  }

  void SetRegDword(uint32_t root, const Text& subkey, const Text& name, int32_t value) override {
    if (HasNul(name)) return;
    const OpenKey key(root, subkey, KEY_SET_VALUE, true);
    if (!key.get()) return;
    const DWORD data = static_cast<DWORD>(value);
    RegSetValueExW(key.get(), Wide(name), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
  }

  void SetRegString(uint32_t root, const Text& subkey, const Text& name, const Text& value) override {
    if (HasNul(name)) return;
    // The data with its terminating NUL; anything larger than a DWORD can count is not written.
    const uint64_t bytes = (static_cast<uint64_t>(value.size()) + 1) * sizeof(char16_t);
    if (bytes > MAXDWORD) return;
    const OpenKey key(root, subkey, KEY_SET_VALUE, true);
    if (!key.get()) return;
    RegSetValueExW(key.get(), Wide(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(bytes));
  }

  void DeleteRegValue(uint32_t root, const Text& subkey, const Text& name) override {
    if (HasNul(name)) return;
    const OpenKey key(root, subkey, KEY_SET_VALUE, false);
    if (!key.get()) return;
    RegDeleteValueW(key.get(), Wide(name));
  }
};

}  // namespace

std::unique_ptr<Registry> MakeRegistry(const Text& /*storeFolder*/) { return std::make_unique<WindowsRegistry>(); }

}  // namespace quorvex
