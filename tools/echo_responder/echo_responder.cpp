// Answers ICMP echo requests itself, after a set delay or never, so tests get slow and
// silent hosts without a packet-delaying kernel module. Run it inside a network namespace
// whose kernel echo is turned off (net.ipv4.icmp_echo_ignore_all=1).
//
//   echo_responder --delay-ms N     answer every request N milliseconds after it arrived
//   echo_responder --silent         read requests and never answer
//
// Prints "ready" on stdout once it listens. Ends on SIGTERM or SIGINT.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ping/echoer.h"

namespace quorvex {
namespace {

using Clock = std::chrono::steady_clock;

struct PendingReply {
  Clock::time_point due;
  sockaddr_in to;
  std::vector<unsigned char> icmp;
};

// The echo reply for a received IP packet, or nothing when it is no echo request.
std::optional<std::vector<unsigned char>> ReplyTo(const unsigned char* packet, size_t size) {
  if (size < 20) return std::nullopt;
  const size_t ipHeaderSize = (packet[0] & 0x0F) * 4u;
  if (ipHeaderSize < 20 || size < ipHeaderSize + 8) return std::nullopt;
  const unsigned char* icmp = packet + ipHeaderSize;
  if (icmp[0] != ICMP_ECHO || icmp[1] != 0) return std::nullopt;
  std::vector<unsigned char> reply(icmp, packet + size);
  reply[0] = ICMP_ECHOREPLY;
  reply[2] = reply[3] = 0;
  const uint16_t checksum = InternetChecksum(reply.data(), reply.size());
  reply[2] = static_cast<unsigned char>(checksum >> 8);
  reply[3] = static_cast<unsigned char>(checksum & 0xFF);
  return reply;
}

int MillisecondsUntil(Clock::time_point due) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(due - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

void SendDueReplies(int fd, std::deque<PendingReply>& pending) {
  while (!pending.empty() && pending.front().due <= Clock::now()) {
    const PendingReply& reply = pending.front();
    sendto(fd, reply.icmp.data(), reply.icmp.size(), 0, reinterpret_cast<const sockaddr*>(&reply.to),
           sizeof reply.to);
    pending.pop_front();
  }
}

void QueueReplyIfRequest(int fd, std::optional<int> delayMs, std::deque<PendingReply>& pending) {
  unsigned char packet[65536];
  sockaddr_in from{};
  socklen_t fromSize = sizeof from;
  const ssize_t size = recvfrom(fd, packet, sizeof packet, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &fromSize);
  if (size <= 0 || !delayMs) return;
  auto reply = ReplyTo(packet, static_cast<size_t>(size));
  if (!reply) return;
  // One delay for all, so the queue stays in order of due time.
  pending.push_back({Clock::now() + std::chrono::milliseconds(*delayMs), from, std::move(*reply)});
}

int Serve(std::optional<int> delayMs) {
  const int fd = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
  if (fd < 0) {
    std::perror("echo_responder: raw ICMP socket");
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  std::deque<PendingReply> pending;
  for (;;) {
    pollfd waitFor{fd, POLLIN, 0};
    const int timeout = pending.empty() ? -1 : MillisecondsUntil(pending.front().due);
    if (poll(&waitFor, 1, timeout) > 0) QueueReplyIfRequest(fd, delayMs, pending);
    SendDueReplies(fd, pending);
  }
}

int Usage() {
  std::fprintf(stderr, "usage: echo_responder --delay-ms N | --silent\n");
  return 2;
}

}  // namespace
}  // namespace quorvex

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--silent") == 0) return quorvex::Serve(std::nullopt);
  if (argc == 3 && std::strcmp(argv[1], "--delay-ms") == 0) {
    char* end = nullptr;
    const long delayMs = std::strtol(argv[2], &end, 10);
    if (*argv[2] == '\0' || *end != '\0' || delayMs < 0 || delayMs > 60000) return quorvex::Usage();
    return quorvex::Serve(static_cast<int>(delayMs));
  }
  return quorvex::Usage();
}
