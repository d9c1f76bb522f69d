// mastersim: a local stand-in for the game's master server list, for people and tests.
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "tools/mastersim/master_server.h"
#include "tools/mastersim/scenario.h"
#include "tools/mastersim/stop_signal.h"

namespace {

using namespace quorvex::mastersim;

const char* kUsage =
    "usage: mastersim --port P [--address 127.0.0.1] --scenario DIR [--fault ENDPOINT=MODE[:ARG]]...\n"
    "  ENDPOINT: count, list, version\n"
    "  MODE: none, delay:MS, trickle:MS, hang, reset, truncated, huge, garbage, status:CODE, negative, disagree\n"
    "  --port 0 takes a free port; the first line printed names it.\n";

struct Options {
  std::string address = "127.0.0.1";
  int port = -1;
  std::string scenario;
  std::vector<std::string> faults;
};

[[noreturn]] void Usage(const std::string& problem) {
  std::cerr << "mastersim: " << problem << "\n" << kUsage;
  std::exit(2);
}

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help") {
      std::cout << kUsage;
      std::exit(0);
    }
    if (i + 1 >= argc) Usage(option + " needs a value");
    const std::string value = argv[++i];
    if (option == "--port") {
      try {
        options.port = std::stoi(value);
      } catch (const std::exception&) {
        Usage("bad port " + value);
      }
    } else if (option == "--address") {
      options.address = value;
    } else if (option == "--scenario") {
      options.scenario = value;
    } else if (option == "--fault") {
      options.faults.push_back(value);
    } else {
      Usage("unknown option " + option);
    }
  }
  if (options.port < 0 || options.port > 65535) Usage("--port 0 to 65535 is required");
  if (options.scenario.empty()) Usage("--scenario is required");
  return options;
}

Scenario LoadWithFaults(const Options& options) {
  try {
    Scenario scenario = LoadScenario(options.scenario);
    for (const auto& text : options.faults) {
      const auto [endpoint, fault] = ParseFaultAssignment(text);
      scenario.faults[endpoint] = fault;
    }
    return scenario;
  } catch (const std::exception& error) {
    std::cerr << "mastersim: " << error.what() << "\n";
    std::exit(2);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  MasterState state(LoadWithFaults(options));
  PrepareStopSignals();
  StopFlag stop;
  MasterServer server(state, stop, std::cout);
  const int port = server.Bind(options.address, options.port);
  if (port < 0) {
    std::cerr << "mastersim: cannot listen on " << options.address << ":" << options.port << "\n";
    return 1;
  }
  std::cout << "mastersim listening on " << options.address << ":" << port << std::endl;
  std::thread serving([&server] { server.Run(); });
  WaitForStopSignal();
  stop.Raise();  // hung and delayed requests let go first, then the server can stop
  server.Stop();
  serving.join();
  std::cout << "mastersim stopped" << std::endl;
  return 0;
}
