// The owner of a POSIX file descriptor (a file, a socket, a pidfd): -1 holds nothing.
#pragma once
#include <unistd.h>

#include "common/scoped_handle.h"

namespace quorvex {

struct DescriptorCloser {
  static int None() { return -1; }
  static void Close(int fd) { ::close(fd); }
};
using Descriptor = ScopedHandle<DescriptorCloser>;

}  // namespace quorvex
