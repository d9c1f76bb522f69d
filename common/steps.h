// Running a handler's steps so that one failing step is skipped and the next one runs.
#pragma once
#include <exception>
#include <utility>

namespace quorvex {

// Thrown from a yield when Exit ran inside it: the interrupted handler must not go on.
// It is deliberately no std::exception, so RunStep lets it pass to the handler's top.
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

}  // namespace quorvex
