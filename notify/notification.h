// One balloon as the notifyCommand is told about it, and the variables that tell it.
#pragma once
#include <optional>
#include <utility>
#include <vector>

#include "common/text.h"
#include "servers/server_table.h"

namespace quorvex {

// Which balloon a command is told about, as QUORVEX_EVENT names it.
enum class NotifyEvent { Limit, Watch };

struct Notification {
  NotifyEvent event = NotifyEvent::Limit;
  Text title;
  Text text;  // the balloon's lines, joined by CR LF or LF
  // The server a click on the balloon joins; none for a balloon about no single server.
  std::optional<ServerRecord> server;
};

// The variables the command finds the balloon in, each one always set:
//   QUORVEX_EVENT, QUORVEX_TITLE, QUORVEX_TEXT   the balloon
//   QUORVEX_SERVER_NAME                          its server's name, as the list gave it
//   QUORVEX_SERVER_ADDRESS, QUORVEX_SERVER_PORT  the address and port a join would use
//   QUORVEX_JOIN_URL                             the steam:// link that joins it
// The server's four are empty without a server; the last three also when a join would
// refuse the server (an address that is no host, a port that is none, an entry the latest
// list did not complete): then a link would lead elsewhere or carry what the network sent.
std::vector<std::pair<Text, Text>> NotifyEnvironment(const Notification& notification);

}  // namespace quorvex
