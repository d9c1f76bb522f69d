// Running a handler's steps so that one failing step is skipped and the next one runs.
#pragma once
#include <exception>
#include <utility>

namespace quorvex {

// Thrown from a yield (EventPump::DoEvents) when Exit ran inside it: the interrupted
// handler must not go on. It is deliberately no std::exception, so RunStep lets it pass to
// the handler's top, where the front end's dispatch runs the handler through RunHandler.
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

// Runs one whole handler for a front end's dispatch, the one place HandlerAborted is caught:
// a handler an Exit stopped in one of its yields has ended normally, the program is
// already ending. Any other error goes on to the dispatch, which reports it.
template <typename Handler>
void RunHandler(Handler&& handler) {
  try {
    std::forward<Handler>(handler)();
  } catch (const HandlerAborted&) {
    // Exit ran inside the handler: nothing of it may run any more.
  }
}

}  // namespace quorvex
