// Without a Windows registry the program keeps its few values in a file store.
#include <memory>

#include "settings/registry.h"
#include "settings/registry_file_store.h"

namespace quorvex {

std::unique_ptr<Registry> MakeRegistry(const Text& storeFolder) { return std::make_unique<FileRegistry>(storeFolder); }

}  // namespace quorvex
