// Runs one handler of Form1 so that an error ends the handler, never the program.
#pragma once
#include <exception>
#include <iostream>
#include <string_view>

#include "common/steps.h"

namespace quorvex {

// Returns whether the handler ran to its end (or was stopped by an Exit inside it).
template <typename Handler>
bool Dispatch(std::string_view handlerName, Handler&& handler) {
  try {
    handler();
    return true;
  } catch (const HandlerAborted&) {
    return true;  // Exit ran inside the handler; the program is already ending
  } catch (const std::exception& error) {
    std::cerr << "quorvex: " << handlerName << ": " << error.what() << "\n";
    return false;
  }
}

}  // namespace quorvex
