// The owners of what the Win32 front end makes beside kernel handles: a window, which
// DestroyWindow ends, and a GDI object such as a font, which DeleteObject frees.
#pragma once
#include <windows.h>

#include "common/scoped_handle.h"

namespace quorvex {

struct WindowDestroyer {
  static HWND None() { return nullptr; }
  static void Close(HWND window) { DestroyWindow(window); }
};
using OwnedWindow = ScopedHandle<WindowDestroyer>;

// Deleting a stock object is harmless, so a font that may be the stock one is owned too.
struct FontDeleter {
  static HFONT None() { return nullptr; }
  static void Close(HFONT font) { DeleteObject(font); }
};
using OwnedFont = ScopedHandle<FontDeleter>;

}  // namespace quorvex
