// The owners of the Windows handles that CloseHandle closes. The two kinds differ only in
// the value a failed call gives: nullptr for a kernel object (event, mutex, job, process,
// thread), INVALID_HANDLE_VALUE for a file or device opened by CreateFileW.
#pragma once
#include <windows.h>

#include "common/scoped_handle.h"

namespace quorvex {

struct KernelObjectCloser {
  static HANDLE None() { return nullptr; }
  static void Close(HANDLE handle) { CloseHandle(handle); }
};
using KernelHandle = ScopedHandle<KernelObjectCloser>;

struct FileCloser {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE file) { CloseHandle(file); }
};
using FileHandle = ScopedHandle<FileCloser>;

}  // namespace quorvex
