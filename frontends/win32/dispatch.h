// Runs one handler of Form1 so that an error ends the handler, never the program.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "common/steps.h"
#include "common/wide_win32.h"

namespace quorvex {

// A program without a console reports to the debugger, where DebugView or Wine's +debugstr
// channel shows it.
inline void ReportHandlerError(std::string_view handler, std::string_view message) {
  const std::string line = "quorvex: " + std::string(handler) + ": " + std::string(message);
  OutputDebugStringW(Wide(FromUtf8(line)).c_str());
}

// Returns whether the handler ran to its end (or was stopped by an Exit inside it).
template <typename Handler>
bool Dispatch(std::string_view handlerName, Handler&& handler) {
  return DispatchHandler(handlerName, std::forward<Handler>(handler), ReportHandlerError);
}

}  // namespace quorvex
