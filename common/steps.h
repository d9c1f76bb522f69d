// Running a handler's steps so that one failing step is skipped and the next one runs.
#pragma once
#include <exception>
#include <string_view>
#include <utility>

namespace quorvex {

// Thrown from a yield (EventPump::DoEvents) when Exit ran inside it: the interrupted
// handler must not go on. It is deliberately no std::exception, so RunStep lets it pass to
// the handler's top, where the front end runs the handler through DispatchHandler.
struct HandlerAborted {};

// Runs one step; an error it raises is swallowed and the caller goes on with the next step.
// Returns whether the step completed.
template <typename Step>
bool RunStep(Step&& step) {
  try {
    std::forward<Step>(step)();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// Runs one whole handler, the one place HandlerAborted is caught: a handler an Exit stopped
// in one of its yields has ended normally, the program is already ending. Any other error
// goes on to the caller.
template <typename Handler>
void RunHandler(Handler&& handler) {
  try {
    std::forward<Handler>(handler)();
  } catch (const HandlerAborted&) {
    // Exit ran inside the handler: nothing of it may run any more.
  }
}

// How every front end runs a handler of Form1 (a window message, a timer, a click, a signal):
// an error ends the handler, never the program. `report(handlerName, message)` tells it
// where that front end keeps a program's messages. Returns whether the handler ran to its
// end (or was stopped by an Exit inside it).
template <typename Handler, typename Report>
bool DispatchHandler(std::string_view handlerName, Handler&& handler, Report&& report) {
  try {
    RunHandler(std::forward<Handler>(handler));
    return true;
  } catch (const std::exception& error) {
    report(handlerName, std::string_view(error.what()));
    return false;
  }
}

}  // namespace quorvex
