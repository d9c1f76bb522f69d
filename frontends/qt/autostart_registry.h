// The registry of the Linux tray: the file store, except that the Run value that starts
// the program at log-on is an XDG autostart entry.
#pragma once
#include "settings/registry.h"

namespace quorvex {

class AutostartRegistry : public Registry {
 public:
  // `entryPath` is the autostart entry (~/.config/autostart/quorvex.desktop); `executable`
  // the program it starts.
  AutostartRegistry(Registry& store, Text entryPath, Text executable)
      : store_(store), entryPath_(std::move(entryPath)), executable_(std::move(executable)) {}

  Text GetRegString(uint32_t root, const Text& subkey, const Text& name, const Text& def) override;
  int32_t GetRegDword(uint32_t root, const Text& subkey, const Text& name, int32_t def) override {
    return store_.GetRegDword(root, subkey, name, def);
  }
  void SetRegDword(uint32_t root, const Text& subkey, const Text& name, int32_t value) override {
    store_.SetRegDword(root, subkey, name, value);
  }
  // Writing the Run value writes the entry; its data (a Windows command line) is not used.
  void SetRegString(uint32_t root, const Text& subkey, const Text& name, const Text& value) override;
  void DeleteRegValue(uint32_t root, const Text& subkey, const Text& name) override;

 private:
  static bool IsRunValue(uint32_t root, const Text& subkey, const Text& name);

  Registry& store_;
  Text entryPath_;
  Text executable_;
};

// The autostart entry that starts `executable`.
Text AutostartEntry(const Text& executable);

}  // namespace quorvex
