#include "tools/mastersim/faults.h"

#include <charconv>
#include <map>

namespace quorvex::mastersim {

namespace {

const std::map<std::string, FaultMode, std::less<>>& ModesByName() {
  static const std::map<std::string, FaultMode, std::less<>> modes = {
      {"none", FaultMode::None},         {"delay", FaultMode::Delay},   {"trickle", FaultMode::Trickle}, {"hang", FaultMode::Hang},
      {"reset", FaultMode::Reset},       {"truncated", FaultMode::Truncated}, {"huge", FaultMode::Huge},
      {"garbage", FaultMode::Garbage},   {"status", FaultMode::Status}, {"negative", FaultMode::Negative},
      {"disagree", FaultMode::Disagree},
  };
  return modes;
}

bool TakesArgument(FaultMode mode) {
  return mode == FaultMode::Delay || mode == FaultMode::Trickle || mode == FaultMode::Status;
}

int ParseArgument(std::string_view text, std::string_view whole) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0) {
    throw FaultSyntaxError("bad number in fault \"" + std::string(whole) + "\"");
  }
  return value;
}

}  // namespace

Fault ParseFault(std::string_view text) {
  const size_t colon = text.find(':');
  const std::string_view name = text.substr(0, colon);
  const auto found = ModesByName().find(name);
  if (found == ModesByName().end()) throw FaultSyntaxError("unknown fault \"" + std::string(text) + "\"");
  Fault fault{found->second, 0};
  const bool hasArgument = colon != std::string_view::npos;
  if (hasArgument != TakesArgument(fault.mode)) {
    throw FaultSyntaxError("fault \"" + std::string(text) + "\": delay, trickle and status take \":N\", the others nothing");
  }
  if (hasArgument) fault.arg = ParseArgument(text.substr(colon + 1), text);
  if (fault.mode == FaultMode::Status && (fault.arg < 100 || fault.arg > 599)) {
    throw FaultSyntaxError("fault \"" + std::string(text) + "\": a status is 100 to 599");
  }
  return fault;
}

std::string FaultName(const Fault& fault) {
  for (const auto& [name, mode] : ModesByName()) {
    if (mode == fault.mode) return TakesArgument(mode) ? name + ":" + std::to_string(fault.arg) : name;
  }
  return "none";
}

Endpoint ParseEndpoint(std::string_view text) {
  if (text == "count") return Endpoint::Count;
  if (text == "list") return Endpoint::List;
  if (text == "version") return Endpoint::Version;
  throw FaultSyntaxError("unknown endpoint \"" + std::string(text) + "\" (count, list or version)");
}

std::string EndpointName(Endpoint endpoint) {
  switch (endpoint) {
    case Endpoint::Count: return "count";
    case Endpoint::List: return "list";
    case Endpoint::Version: return "version";
  }
  return "?";
}

void RequireFaultFits(Endpoint endpoint, const Fault& fault) {
  const bool changesCount = fault.mode == FaultMode::Negative || fault.mode == FaultMode::Disagree;
  if (changesCount && endpoint != Endpoint::Count) {
    throw FaultSyntaxError(FaultName(fault) + " only fits the count endpoint");
  }
}

std::pair<Endpoint, Fault> ParseFaultAssignment(std::string_view text) {
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos) throw FaultSyntaxError("expected ENDPOINT=MODE, got \"" + std::string(text) + "\"");
  const Endpoint endpoint = ParseEndpoint(text.substr(0, equals));
  const Fault fault = ParseFault(text.substr(equals + 1));
  RequireFaultFits(endpoint, fault);
  return {endpoint, fault};
}

}  // namespace quorvex::mastersim
