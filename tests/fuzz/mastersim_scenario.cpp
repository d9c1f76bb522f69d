// A mastersim scenario: servers.txt, steps.txt and faults.txt in one input, split at lines
// of "%%". Whatever they hold, they load or are refused with a ScenarioError, within the
// scenario limits.
#include "fuzz_support.h"
#include "tools/mastersim/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quorvex::mastersim;
  std::string_view rest = quorvex::fuzz::Bytes(data, size);
  std::string_view files[3];
  for (int i = 0; i < 3; ++i) {
    const size_t split = rest.find("\n%%\n");
    files[i] = rest.substr(0, split);
    rest = split == std::string_view::npos ? std::string_view() : rest.substr(split + 4);
  }
  try {
    BuildTimeline(ParseServers(files[0]), files[1]);
  } catch (const ScenarioError&) {
  }
  try {
    ParseFaultFile(files[2]);
  } catch (const ScenarioError&) {
  }
  return 0;
}
