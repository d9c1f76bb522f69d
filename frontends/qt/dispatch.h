// Runs one handler of Form1 so that an error ends the handler, never the program.
#pragma once
#include <iostream>
#include <string_view>

#include "common/steps.h"

namespace quorvex {

// Errors go to stderr, where a desktop keeps a program's messages (the session's log).
inline void ReportHandlerError(std::string_view handler, std::string_view message) {
  std::cerr << "quorvex: " << handler << ": " << message << "\n";
}

// Returns whether the handler ran to its end (or was stopped by an Exit inside it).
template <typename Handler>
bool Dispatch(std::string_view handlerName, Handler&& handler) {
  return DispatchHandler(handlerName, std::forward<Handler>(handler), ReportHandlerError);
}

}  // namespace quorvex
