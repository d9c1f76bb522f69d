// Acting on the TCP connection of a request below what the HTTP library offers: the
// reset and hang faults need to drop a connection and to notice the client leaving.
#pragma once
#include <string>

namespace quorvex::mastersim {

// The client's side of a connection, as the HTTP library reports it.
struct Peer {
  std::string address;
  int port = 0;
};

// Aborts the connection to `peer` at once (a TCP reset where the system allows it);
// the library's later reply goes nowhere. False when no such connection is found.
bool ResetConnection(const Peer& peer);
// True when the client has closed its side, or when the connection is gone.
bool PeerHasLeft(const Peer& peer);

}  // namespace quorvex::mastersim
