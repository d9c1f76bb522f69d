// A line on the console's stdin: whatever it holds, it is a command or refused with a reason.
#include "fuzz_support.h"
#include "frontends/console/commands.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvex;
  const ConsoleCommand command = ParseConsoleCommand(fuzz::Bytes(data, size));
  fuzz::Require(command.kind != ConsoleCommand::Kind::Invalid || !command.error.empty(), "a refusal says why");
  fuzz::Require(command.kind != ConsoleCommand::Kind::Advance || command.ms >= 0, "time never runs back");
  fuzz::Require(command.kind != ConsoleCommand::Kind::Click || !command.name.empty(), "a click names an item");
  return 0;
}
