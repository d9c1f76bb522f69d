// The ways mastersim can misbehave on purpose, and their names on the command line.
#pragma once
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace quorvex::mastersim {

enum class Endpoint { Count, List, Version };

enum class FaultMode {
  None,
  Delay,      // answer after `arg` milliseconds
  Trickle,    // send the body one byte every `arg` milliseconds
  Hang,       // accept the request and never answer
  Reset,      // close the connection without a reply
  Truncated,  // announce the whole body, send half of it, close
  Huge,       // a 10 MiB body
  Garbage,    // bytes that are no UTF-8, NULs among them
  Status,     // answer with HTTP status `arg` and an error page
  Negative,   // count only: a negative number of servers
  Disagree,   // count only: five more servers than the list holds
};

struct Fault {
  FaultMode mode = FaultMode::None;
  int arg = 0;
  bool operator==(const Fault&) const = default;
};

struct FaultSyntaxError : std::invalid_argument {
  using std::invalid_argument::invalid_argument;
};

// "delay:1500", "hang", "status:404", "none"; throws FaultSyntaxError.
Fault ParseFault(std::string_view text);
std::string FaultName(const Fault& fault);

// "count", "list", "version"; throws FaultSyntaxError.
Endpoint ParseEndpoint(std::string_view text);
std::string EndpointName(Endpoint endpoint);

// "list=hang": the endpoint and the fault, checked to fit each other.
std::pair<Endpoint, Fault> ParseFaultAssignment(std::string_view text);
// Negative and Disagree change a count, so they only fit the count endpoint.
void RequireFaultFits(Endpoint endpoint, const Fault& fault);

}  // namespace quorvex::mastersim
