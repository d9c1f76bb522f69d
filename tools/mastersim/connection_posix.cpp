// The HTTP library hands a handler no socket, so the connection is found among the
// process's open descriptors by its peer address.
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tools/mastersim/connection.h"

namespace quorvex::mastersim {

namespace {

bool IsConnectedTo(int fd, const Peer& peer) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getpeername(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return false;
  char host[NI_MAXHOST];
  char port[NI_MAXSERV];
  if (getnameinfo(reinterpret_cast<sockaddr*>(&address), length, host, sizeof host, port, sizeof port,
                  NI_NUMERICHOST | NI_NUMERICSERV) != 0) {
    return false;
  }
  return peer.address == host && std::to_string(peer.port) == port;
}

// The descriptor of the connection to `peer`, -1 when there is none.
int FindConnection(const Peer& peer) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const int fd = std::stoi(name);
    if (IsConnectedTo(fd, peer)) return fd;
  }
  return -1;
}

}  // namespace

bool ResetConnection(const Peer& peer) {
  const int fd = FindConnection(peer);
  if (fd < 0) return false;
  // Dissolving a TCP association with AF_UNSPEC sends a reset on Linux; the descriptor
  // stays open, so the library still owns and closes it.
  sockaddr unspecified{};
  unspecified.sa_family = AF_UNSPEC;
  if (connect(fd, &unspecified, sizeof unspecified) != 0) shutdown(fd, SHUT_RDWR);
  return true;
}

bool PeerHasLeft(const Peer& peer) {
  const int fd = FindConnection(peer);
  if (fd < 0) return true;
  pollfd watch{fd, POLLIN | POLLRDHUP, 0};
  if (poll(&watch, 1, 0) <= 0) return false;
  if (watch.revents & (POLLRDHUP | POLLHUP | POLLERR)) return true;
  char byte;
  return recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

}  // namespace quorvex::mastersim
