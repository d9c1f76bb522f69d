// What the harnesses share: their input as bytes, property checks, a scratch folder.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>

#include "common/text.h"

namespace quorvex::fuzz {

inline std::string_view Bytes(const uint8_t* data, size_t size) { return {reinterpret_cast<const char*>(data), size}; }

// A property that does not hold is a finding like a crash: libFuzzer keeps the input.
inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property does not hold: %s\n", property);
  std::abort();
}

// One folder per process, on tmpfs where there is one: the file harnesses write every run.
inline Text ScratchFolder() {
  static const std::filesystem::path folder = [] {
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    const auto made = base / ("quorvex-fuzz-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(made);
    return made;
  }();
  // Registered once the folder is made, so it runs before the folder's path is destroyed.
  [[maybe_unused]] static const int removedAtExit = std::atexit([] { std::filesystem::remove_all(folder); });
  return FromUtf8(folder.string());
}

}  // namespace quorvex::fuzz
