#include "tools/mastersim/scenario.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace quorvex::mastersim {

namespace {

// What a scenario may ask for: far more than any test needs, far less than would exhaust
// the machine (40 steps of "join a 99999" once took over 2 GB, every step keeping its own
// copy of the servers).
constexpr size_t kMaxServers = 64;
constexpr size_t kMaxPlayersInAStep = 50000;   // past the 32,767 a 16-bit total holds
constexpr size_t kMaxSteps = 1000;
constexpr size_t kMaxStepBytes = 1 << 20;      // the server texts of one step: its list reply
constexpr size_t kMaxTimelineBytes = 16 << 20; // the server texts of every step together
constexpr uintmax_t kMaxFileBytes = 1 << 20;

// One line of a scenario file with its number, for error messages.
struct Line {
  int number;
  std::string text;  // without surrounding blanks
};

std::string Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

// The lines that say something: blank lines and "#" comment lines are dropped.
std::vector<Line> MeaningfulLines(std::string_view text) {
  std::vector<Line> lines;
  std::istringstream in{std::string(text)};
  std::string raw;
  for (int number = 1; std::getline(in, raw); ++number) {
    std::string line = Trim(raw);
    if (!line.empty() && line[0] != '#') lines.push_back({number, std::move(line)});
  }
  return lines;
}

[[noreturn]] void Fail(const std::string& fileName, const Line& line, const std::string& what) {
  throw ScenarioError(fileName + ":" + std::to_string(line.number) + ": " + what + ": " + line.text);
}

// A value in double quotes keeps its blanks; any other value is trimmed.
std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
  return value;
}

std::vector<std::string> SplitNames(std::string_view list) {
  std::vector<std::string> names;
  size_t from = 0;
  while (from <= list.size()) {
    size_t comma = list.find(',', from);
    if (comma == std::string_view::npos) comma = list.size();
    std::string name = Trim(list.substr(from, comma - from));
    if (!name.empty()) names.push_back(std::move(name));
    from = comma + 1;
  }
  return names;
}

// Up to five digits, so a step can pass the 32,767 players a 16-bit total holds.
bool IsCount(std::string_view text) {
  return !text.empty() && text.size() <= 5 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "key = value" split at the first "="; false when there is none.
bool SplitAssignment(const std::string& text, std::string& key, std::string& value) {
  const size_t equals = text.find('=');
  if (equals == std::string::npos) return false;
  key = Trim(std::string_view(text).substr(0, equals));
  value = Unquote(Trim(std::string_view(text).substr(equals + 1)));
  return true;
}

bool IsFieldName(const std::string& key) {
  const auto& names = ServerFieldNames();
  return std::find(names.begin(), names.end(), key) != names.end();
}

GameServer NewServer(const std::string& id) {
  GameServer server;
  server.id = id;
  for (const auto& field : ServerFieldNames()) server.fields[field] = "";
  server.fields["dedicated"] = "1";
  server.fields["bots"] = "0";
  server.fields["watchers"] = "0";
  return server;
}

void SetServerKey(GameServer& server, const std::string& key, const std::string& value, const std::string& fileName,
                  const Line& line) {
  if (key == "players") {
    server.players = SplitNames(value);
  } else if (key == "online") {
    if (value != "yes" && value != "no") Fail(fileName, line, "online is yes or no");
    server.online = value == "yes";
  } else if (IsFieldName(key)) {
    server.fields[key] = value;
  } else {
    Fail(fileName, line, "unknown key \"" + key + "\"");
  }
}

GameServer& FindServer(ServerSet& servers, const std::string& id, const std::string& fileName, const Line& line) {
  for (auto& server : servers) {
    if (server.id == id) return server;
  }
  Fail(fileName, line, "no server \"" + id + "\" in servers.txt");
}

size_t PlayersIn(const ServerSet& servers) {
  size_t players = 0;
  for (const auto& server : servers) players += server.players.size();
  return players;
}

// The bytes the servers' texts take in a list reply, tags and escapes left out.
size_t TextBytes(const ServerSet& servers) {
  size_t bytes = 0;
  for (const auto& server : servers) {
    for (const auto& [name, value] : server.fields) bytes += value.size();
    for (const auto& player : server.players) bytes += player.size() + 1;
  }
  return bytes;
}

// Refuses a line that makes one step (or, with `earlierSteps`, the whole timeline) hold
// more than a scenario may.
void CheckStepSize(const ServerSet& servers, size_t earlierSteps, const std::string& fileName, const Line& line) {
  if (PlayersIn(servers) > kMaxPlayersInAStep)
    Fail(fileName, line, "more than " + std::to_string(kMaxPlayersInAStep) + " players in one step");
  const size_t bytes = TextBytes(servers);
  if (bytes > kMaxStepBytes) Fail(fileName, line, "one step's servers hold more than 1 MiB of text");
  if (earlierSteps + bytes > kMaxTimelineBytes) Fail(fileName, line, "the steps hold more than 16 MiB of text");
}

void Join(ServerSet& servers, GameServer& server, const std::string& who, const std::string& fileName,
          const Line& line) {
  if (!IsCount(who)) {
    for (auto& name : SplitNames(who)) server.players.push_back(std::move(name));
    return;
  }
  const size_t count = static_cast<size_t>(std::stoi(who));
  if (PlayersIn(servers) + count > kMaxPlayersInAStep)  // checked before a single one is made
    Fail(fileName, line, "more than " + std::to_string(kMaxPlayersInAStep) + " players in one step");
  for (size_t n = count; n > 0; --n) {
    server.players.push_back("Recruit " + std::to_string(++server.recruitsJoined));
  }
}

void Leave(GameServer& server, const std::string& who, const std::string& fileName, const Line& line) {
  if (IsCount(who)) {
    const size_t n = std::min(server.players.size(), static_cast<size_t>(std::stoi(who)));
    server.players.resize(server.players.size() - n);
    return;
  }
  for (const auto& name : SplitNames(who)) {
    const auto found = std::find(server.players.begin(), server.players.end(), name);
    if (found == server.players.end()) Fail(fileName, line, "\"" + name + "\" is not on " + server.id);
    server.players.erase(found);
  }
}

// Applies one change line such as "join alpha Nadia, Olaf" or "set alpha bots = 4".
void ApplyChange(ServerSet& servers, const Line& line, const std::string& fileName) {
  std::istringstream words(line.text);
  std::string verb, id;
  words >> verb >> id;
  std::string rest;
  std::getline(words, rest);
  rest = Trim(rest);
  GameServer& server = FindServer(servers, id, fileName, line);
  if (verb == "join" && !rest.empty()) {
    Join(servers, server, rest, fileName, line);
  } else if (verb == "leave" && !rest.empty()) {
    Leave(server, rest, fileName, line);
  } else if (verb == "appear" && rest.empty()) {
    server.online = true;
  } else if (verb == "vanish" && rest.empty()) {
    server.online = false;
  } else if (verb == "set") {
    std::string key, value;
    if (!SplitAssignment(rest, key, value) || !IsFieldName(key)) Fail(fileName, line, "expected set ID FIELD = VALUE");
    server.fields[key] = value;
  } else {
    Fail(fileName, line, "expected join, leave, appear, vanish or set");
  }
}

std::string ReadFile(const std::filesystem::path& path, bool required) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (required) throw ScenarioError("cannot read " + path.string());
    return {};
  }
  std::error_code unknownSize;
  if (std::filesystem::file_size(path, unknownSize) > kMaxFileBytes && !unknownSize)
    throw ScenarioError(path.string() + ": larger than 1 MiB");
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

const std::vector<std::string>& ServerFieldNames() {
  static const std::vector<std::string> names = {"name", "address", "port",    "map_id",    "map_name",
                                                 "mode", "version", "dedicated", "bots", "watchers"};
  return names;
}

ServerSet ParseServers(std::string_view text, const std::string& fileName) {
  ServerSet servers;
  for (const Line& line : MeaningfulLines(text)) {
    if (line.text.front() == '[' && line.text.back() == ']') {
      const std::string id = Trim(std::string_view(line.text).substr(1, line.text.size() - 2));
      if (id.empty() || id.find(' ') != std::string::npos) Fail(fileName, line, "a server id is one word");
      for (const auto& server : servers) {
        if (server.id == id) Fail(fileName, line, "server listed twice");
      }
      if (servers.size() == kMaxServers) Fail(fileName, line, "more than " + std::to_string(kMaxServers) + " servers");
      servers.push_back(NewServer(id));
      continue;
    }
    std::string key, value;
    if (!SplitAssignment(line.text, key, value)) Fail(fileName, line, "expected [id] or key = value");
    if (servers.empty()) Fail(fileName, line, "a key before the first [id]");
    SetServerKey(servers.back(), key, value, fileName, line);
    CheckStepSize(servers, 0, fileName, line);
  }
  return servers;
}

std::vector<ServerSet> BuildTimeline(const ServerSet& initial, std::string_view stepsText, const std::string& fileName) {
  std::vector<ServerSet> timeline{initial};
  size_t earlierSteps = 0;  // the text bytes of every step before the last
  for (const Line& line : MeaningfulLines(stepsText)) {
    if (line.text == "step" || line.text.rfind("step ", 0) == 0) {
      if (timeline.size() > kMaxSteps) Fail(fileName, line, "more than " + std::to_string(kMaxSteps) + " steps");
      earlierSteps += TextBytes(timeline.back());
      timeline.push_back(timeline.back());
    } else {
      if (timeline.size() == 1) Fail(fileName, line, "a change before the first \"step\" line");
      ApplyChange(timeline.back(), line, fileName);
    }
    CheckStepSize(timeline.back(), earlierSteps, fileName, line);
  }
  return timeline;
}

std::map<Endpoint, Fault> ParseFaultFile(std::string_view text, const std::string& fileName) {
  std::map<Endpoint, Fault> faults;
  for (const Line& line : MeaningfulLines(text)) {
    std::string compact;
    std::copy_if(line.text.begin(), line.text.end(), std::back_inserter(compact), [](char c) { return c != ' '; });
    try {
      const auto [endpoint, fault] = ParseFaultAssignment(compact);
      faults[endpoint] = fault;
    } catch (const FaultSyntaxError& error) {
      Fail(fileName, line, error.what());
    }
  }
  return faults;
}

Scenario LoadScenario(const std::filesystem::path& folder) {
  Scenario scenario;
  scenario.latestVersion = ReadFile(folder / "latest_version.txt", true);
  const ServerSet initial = ParseServers(ReadFile(folder / "servers.txt", true));
  scenario.timeline = BuildTimeline(initial, ReadFile(folder / "steps.txt", false));
  scenario.faults = ParseFaultFile(ReadFile(folder / "faults.txt", false));
  return scenario;
}

}  // namespace quorvex::mastersim
