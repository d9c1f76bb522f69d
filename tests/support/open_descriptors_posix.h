// How many descriptors this process holds open: counted before and after a call, it tells
// whether the call left one open on any of its ways out.
#pragma once
#include <cstddef>
#include <filesystem>
#include <iterator>

namespace quorvex::testing {

inline std::ptrdiff_t OpenDescriptors() {
  return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator());
}

}  // namespace quorvex::testing
