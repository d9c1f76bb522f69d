// The echo and the resolver on Linux: an ICMP datagram socket where the system allows
// unprivileged ping, else a raw socket (root or CAP_NET_RAW); getaddrinfo for names.
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "tray/icmp.h"
#include "tray/icmp_echo.h"
#include "tray/ping_host.h"

namespace quorvex {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kIcmpHeaderSize = 8;
constexpr size_t kRequestSize = kIcmpHeaderSize + kEchoPayloadSize;
// Room for an IP header with options and a reply far larger than ours.
constexpr size_t kReplyBufferSize = 1024;

// Every echo of this process gets its own sequence number, so a reply that comes late for
// one call is never taken for the answer of the next.
std::atomic<uint16_t> nextSequence{1};

// Closes the socket when the echo ends, whichever way it ends.
class SocketHandle {
 public:
  explicit SocketHandle(int fd) : fd_(fd) {}
  ~SocketHandle() {
    if (fd_ >= 0) close(fd_);
  }
  SocketHandle(const SocketHandle&) = delete;
  SocketHandle& operator=(const SocketHandle&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

struct EchoSocket {
  int fd = -1;
  // A datagram socket gets replies without the IP header, and the kernel sets the
  // identifier itself; a raw socket sees every ICMP packet that reaches the machine.
  bool raw = false;
};

EchoSocket OpenEchoSocket() {
  int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
  if (fd >= 0) return {fd, false};
  fd = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
  return {fd, true};
}

uint16_t InternetChecksum(const unsigned char* bytes, size_t size) {
  uint32_t sum = 0;
  for (size_t i = 0; i + 1 < size; i += 2) sum += (bytes[i] << 8) | bytes[i + 1];
  if (size % 2 == 1) sum += bytes[size - 1] << 8;
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint16_t>(~sum);
}

void PutBigEndian16(unsigned char* at, uint16_t value) {
  at[0] = static_cast<unsigned char>(value >> 8);
  at[1] = static_cast<unsigned char>(value & 0xFF);
}

uint16_t GetBigEndian16(const unsigned char* at) { return static_cast<uint16_t>((at[0] << 8) | at[1]); }

void BuildRequest(unsigned char (&request)[kRequestSize], uint16_t identifier, uint16_t sequence) {
  std::memset(request, 0, sizeof request);
  request[0] = ICMP_ECHO;
  PutBigEndian16(request + 4, identifier);
  PutBigEndian16(request + 6, sequence);
  std::memset(request + kIcmpHeaderSize, kEchoPayloadByte, kEchoPayloadSize);
  PutBigEndian16(request + 2, InternetChecksum(request, sizeof request));
}

// What a received packet must be to answer our echo.
struct ExpectedReply {
  uint32_t source;
  bool raw;
  uint16_t identifier;  // checked on raw sockets only
  uint16_t sequence;
};

bool IsOurReply(const unsigned char* packet, size_t size, uint32_t source, const ExpectedReply& expected) {
  if (source != expected.source) return false;
  if (expected.raw) {
    if (size < 20) return false;
    const size_t ipHeaderSize = (packet[0] & 0x0F) * 4u;
    if (ipHeaderSize < 20 || ipHeaderSize > size) return false;
    packet += ipHeaderSize;
    size -= ipHeaderSize;
  }
  if (size != kRequestSize) return false;
  if (packet[0] != ICMP_ECHOREPLY || packet[1] != 0) return false;
  if (expected.raw && GetBigEndian16(packet + 4) != expected.identifier) return false;
  if (GetBigEndian16(packet + 6) != expected.sequence) return false;
  for (size_t i = 0; i < kEchoPayloadSize; ++i) {
    if (packet[kIcmpHeaderSize + i] != kEchoPayloadByte) return false;
  }
  return true;
}

// Milliseconds left until the deadline, rounded up so poll never wakes before it.
int MillisecondsUntil(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

class PosixIcmpEcho : public IcmpEcho {
 public:
  std::optional<int32_t> Echo(uint32_t addressNetworkOrder, int timeoutMs) override {
    const EchoSocket echoSocket = OpenEchoSocket();
    const SocketHandle handle(echoSocket.fd);
    if (handle.fd() < 0) return std::nullopt;
    const int ttl = kEchoTimeToLive;
    if (setsockopt(handle.fd(), IPPROTO_IP, IP_TTL, &ttl, sizeof ttl) != 0) return std::nullopt;

    const ExpectedReply expected{addressNetworkOrder, echoSocket.raw, static_cast<uint16_t>(getpid() & 0xFFFF),
                                 nextSequence.fetch_add(1)};
    unsigned char request[kRequestSize];
    BuildRequest(request, expected.identifier, expected.sequence);

    sockaddr_in destination{};
    destination.sin_family = AF_INET;
    destination.sin_addr.s_addr = addressNetworkOrder;
    const auto sent = Clock::now();
    if (sendto(handle.fd(), request, sizeof request, 0, reinterpret_cast<const sockaddr*>(&destination),
               sizeof destination) != static_cast<ssize_t>(sizeof request)) {
      return std::nullopt;
    }
    return AwaitReply(handle.fd(), expected, sent, sent + std::chrono::milliseconds(timeoutMs));
  }

 private:
  // Reads packets until ours arrives or the deadline passes; foreign ones are skipped.
  static std::optional<int32_t> AwaitReply(int fd, const ExpectedReply& expected, Clock::time_point sent,
                                           Clock::time_point deadline) {
    unsigned char reply[kReplyBufferSize];
    while (Clock::now() < deadline) {
      pollfd waitFor{fd, POLLIN, 0};
      const int ready = poll(&waitFor, 1, MillisecondsUntil(deadline));
      if (ready < 0 && errno != EINTR) return std::nullopt;
      if (ready <= 0) continue;

      std::memset(reply, 0, sizeof reply);
      sockaddr_in from{};
      socklen_t fromSize = sizeof from;
      const ssize_t size =
          recvfrom(fd, reply, sizeof reply, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &fromSize);
      const auto received = Clock::now();
      if (size < 0) {
        if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
        return std::nullopt;  // an ICMP error for our echo: unreachable
      }
      if (received > deadline) return std::nullopt;
      if (IsOurReply(reply, static_cast<size_t>(size), from.sin_addr.s_addr, expected)) {
        // Whole milliseconds, cut off as the Windows echo reports them.
        return static_cast<int32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(received - sent).count());
      }
    }
    return std::nullopt;
  }
};

class PosixResolver : public Resolver {
 public:
  std::optional<uint32_t> ResolveIpv4(const Text& hostName) override {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;  // one entry per address, not one per socket type
    addrinfo* found = nullptr;
    if (getaddrinfo(ToUtf8(hostName).c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return std::nullopt;
    const uint32_t address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return address;
  }
};

}  // namespace

std::unique_ptr<Resolver> MakeSystemResolver() { return std::make_unique<PosixResolver>(); }

std::unique_ptr<IcmpEcho> MakeSystemIcmpEcho() { return std::make_unique<PosixIcmpEcho>(); }

std::unique_ptr<Pinger> MakePinger(Resolver& resolver) { return MakeEchoPinger(resolver, MakeSystemIcmpEcho()); }

}  // namespace quorvex
