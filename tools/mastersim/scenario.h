// A mastersim scenario: the latest version, the servers and how they change poll by poll.
#pragma once
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tools/mastersim/faults.h"

namespace quorvex::mastersim {

// A scenario file that cannot be read; the text names the file and the line.
struct ScenarioError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// One game server. Every field is kept as the text the reply will carry, so a scenario
// can also serve values the program must cope with (a port of letters, say).
struct GameServer {
  std::string id;  // the section name, used by the steps
  std::map<std::string, std::string> fields;
  std::vector<std::string> players;
  bool online = true;
  int recruitsJoined = 0;  // numbers the players a "join ID N" line invents
};

// The servers in the order servers.txt lists them, the offline ones included.
using ServerSet = std::vector<GameServer>;

struct Scenario {
  std::string latestVersion;       // the bytes of latest_version.txt
  std::vector<ServerSet> timeline; // [0] is servers.txt, then one entry per step
  std::map<Endpoint, Fault> faults;
};

// The text fields a server carries; current_players is the number of its players.
const std::vector<std::string>& ServerFieldNames();

ServerSet ParseServers(std::string_view text, const std::string& fileName = "servers.txt");
// The servers after each step, starting with `initial` itself.
std::vector<ServerSet> BuildTimeline(const ServerSet& initial, std::string_view stepsText,
                                     const std::string& fileName = "steps.txt");
std::map<Endpoint, Fault> ParseFaultFile(std::string_view text, const std::string& fileName = "faults.txt");

// Reads servers.txt, steps.txt (optional), faults.txt (optional) and latest_version.txt.
Scenario LoadScenario(const std::filesystem::path& folder);

}  // namespace quorvex::mastersim
