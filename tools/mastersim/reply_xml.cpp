#include "tools/mastersim/reply_xml.h"

#include <algorithm>

namespace quorvex::mastersim {

namespace {

void AddElement(std::string& xml, const std::string& name, std::string_view text) {
  xml += "<" + name + ">" + EscapeXml(text) + "</" + name + ">";
}

std::string JoinNames(const std::vector<std::string>& players) {
  std::string joined;
  for (const auto& name : players) {
    if (!joined.empty()) joined += ",";
    joined += name;
  }
  return joined;
}

void AddServer(std::string& xml, const GameServer& server) {
  xml += "<server>";
  for (const auto& field : ServerFieldNames()) AddElement(xml, field, server.fields.at(field));
  AddElement(xml, "current_players", std::to_string(server.players.size()));
  AddElement(xml, "player_names", JoinNames(server.players));
  xml += "</server>\n";
}

}  // namespace

std::string EscapeXml(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

int OnlineCount(const ServerSet& servers) {
  return static_cast<int>(std::count_if(servers.begin(), servers.end(), [](const GameServer& s) { return s.online; }));
}

std::string CountReply(int count) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<result><servers>" + std::to_string(count) + "</servers></result>\n";
}

std::string ListReply(const ServerSet& servers, int start, int size) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<result>\n";
  int index = 0;
  int listed = 0;
  for (const auto& server : servers) {
    if (!server.online) continue;
    if (index++ < start) continue;
    if (listed >= size) break;
    AddServer(xml, server);
    ++listed;
  }
  return xml + "</result>\n";
}

}  // namespace quorvex::mastersim
