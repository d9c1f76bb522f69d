// Text as the Win32 W functions take it. Both are UTF-16, so the units are copied as they are.
// (No OS header: std::wstring is UTF-16 wherever this is built, with MinGW.)
#pragma once
#include <string>

#include "common/text.h"

namespace quorvex {

inline std::wstring Wide(const Text& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace quorvex
