// The echoes and the resolver on Linux: one ICMP datagram socket for all the echoes of a
// call where the system allows unprivileged ping, else a raw socket (root or CAP_NET_RAW);
// getaddrinfo for names.
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "common/descriptor_posix.h"
#include "ping/echoer.h"
#include "ping/name_lookups.h"
#include "ping/ping.h"

namespace quorvex {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kIcmpHeaderSize = 8;
constexpr size_t kRequestSize = kIcmpHeaderSize + kEchoPayloadSize;
// Room for an IP header with options and a reply far larger than ours.
constexpr size_t kReplyBufferSize = 1024;

// Every echo of this process gets its own sequence number, so a reply that comes late for
// one call is never taken for the answer of the next, and each reply of a call finds its
// request.
std::atomic<uint16_t> nextSequence{1};

// The socket closes when the echo ends, whichever way it ends.
struct EchoSocket {
  Descriptor descriptor;
  // A datagram socket gets replies without the IP header, and the kernel sets the
  // identifier itself; a raw socket sees every ICMP packet that reaches the machine.
  bool raw = false;
};

EchoSocket OpenEchoSocket() {
  Descriptor datagram(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP));
  if (datagram.valid()) return {std::move(datagram), false};
  return {Descriptor(::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP)), true};
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

// An echo reply read off the socket: who sent it and the identifier and sequence it carries.
struct EchoReply {
  uint16_t identifier;
  uint16_t sequence;
};

// The reply part of a packet when it is an echo reply carrying our payload.
std::optional<EchoReply> ReadEchoReply(const unsigned char* packet, size_t size, bool raw) {
  if (raw) {
    if (size < 20) return std::nullopt;
    const size_t ipHeaderSize = (packet[0] & 0x0F) * 4u;
    if (ipHeaderSize < 20 || ipHeaderSize > size) return std::nullopt;
    packet += ipHeaderSize;
    size -= ipHeaderSize;
  }
  if (size != kRequestSize) return std::nullopt;
  if (packet[0] != ICMP_ECHOREPLY || packet[1] != 0) return std::nullopt;
  for (size_t i = 0; i < kEchoPayloadSize; ++i) {
    if (packet[kIcmpHeaderSize + i] != kEchoPayloadByte) return std::nullopt;
  }
  return EchoReply{GetBigEndian16(packet + 4), GetBigEndian16(packet + 6)};
}

// Milliseconds left until the deadline, rounded up so poll never wakes before it.
int MillisecondsUntil(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// The echoes of one call: request i goes to addresses[i] with sequence first + i.
class EchoBatch {
 public:
  EchoBatch(const std::vector<uint32_t>& addresses, bool raw, int timeoutMs)
      : addresses_(addresses),
        raw_(raw),
        timeout_(std::chrono::milliseconds(timeoutMs)),
        identifier_(static_cast<uint16_t>(getpid() & 0xFFFF)),
        first_(nextSequence.fetch_add(static_cast<uint16_t>(addresses.size()))),
        sent_(addresses.size()),
        results_(addresses.size()) {}

  void SendAll(int fd) {
    for (size_t i = 0; i < addresses_.size(); ++i) {
      unsigned char request[kRequestSize];
      BuildRequest(request, identifier_, Sequence(i));
      sockaddr_in destination{};
      destination.sin_family = AF_INET;
      destination.sin_addr.s_addr = addresses_[i];
      sent_[i] = Clock::now();
      if (sendto(fd, request, sizeof request, 0, reinterpret_cast<const sockaddr*>(&destination),
                 sizeof destination) == static_cast<ssize_t>(sizeof request)) {
        lastSent_ = *sent_[i];
        ++waitingFor_;
      } else {
        sent_[i].reset();  // not sent: no answer
      }
    }
  }

  // Reads packets until every echo sent has its reply or the last one's time is up.
  std::vector<std::optional<int32_t>> AwaitReplies(int fd) {
    const Clock::time_point deadline = lastSent_ + timeout_;
    unsigned char reply[kReplyBufferSize];
    while (waitingFor_ > 0 && Clock::now() < deadline) {
      pollfd waitFor{fd, POLLIN, 0};
      const int ready = poll(&waitFor, 1, MillisecondsUntil(deadline));
      if (ready < 0 && errno != EINTR) break;
      if (ready <= 0) continue;
      sockaddr_in from{};
      socklen_t fromSize = sizeof from;
      const ssize_t size =
          recvfrom(fd, reply, sizeof reply, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &fromSize);
      // An error here is an ICMP error for one of the echoes: that one just gets no reply.
      if (size < 0) continue;
      Take(reply, static_cast<size_t>(size), from.sin_addr.s_addr, Clock::now());
    }
    return results_;
  }

 private:
  uint16_t Sequence(size_t i) const { return static_cast<uint16_t>(first_ + i); }

  // Takes a packet as the reply of the echo it answers, if it answers one in time.
  void Take(const unsigned char* packet, size_t size, uint32_t source, Clock::time_point received) {
    const auto echoReply = ReadEchoReply(packet, size, raw_);
    // A datagram socket gets only its own replies, the identifier being set by the kernel.
    if (!echoReply || (raw_ && echoReply->identifier != identifier_)) return;
    const size_t i = static_cast<uint16_t>(echoReply->sequence - first_);
    if (i >= addresses_.size() || addresses_[i] != source || !sent_[i] || results_[i]) return;
    if (received - *sent_[i] > timeout_) return;
    // Whole milliseconds, cut off as the Windows echo reports them.
    results_[i] = static_cast<int32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(received - *sent_[i]).count());
    --waitingFor_;
  }

  const std::vector<uint32_t>& addresses_;
  bool raw_;
  Clock::duration timeout_;
  uint16_t identifier_;
  uint16_t first_;
  std::vector<std::optional<Clock::time_point>> sent_;
  std::vector<std::optional<int32_t>> results_;
  Clock::time_point lastSent_ = Clock::now();
  size_t waitingFor_ = 0;
};

class PosixEchoer : public Echoer {
 public:
  std::vector<std::optional<int32_t>> Echo(const std::vector<uint32_t>& addressesNetworkOrder,
                                            int timeoutMs) override {
    const EchoSocket echoSocket = OpenEchoSocket();
    const int fd = echoSocket.descriptor.get();
    std::vector<std::optional<int32_t>> none(addressesNetworkOrder.size());
    if (!echoSocket.descriptor.valid()) return none;
    const int ttl = kEchoTimeToLive;
    if (setsockopt(fd, IPPROTO_IP, IP_TTL, &ttl, sizeof ttl) != 0) return none;
    EchoBatch batch(addressesNetworkOrder, echoSocket.raw, timeoutMs);
    batch.SendAll(fd);
    return batch.AwaitReplies(fd);
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

std::unique_ptr<Echoer> MakeSystemEchoer() { return std::make_unique<PosixEchoer>(); }

std::unique_ptr<Pinger> MakeSystemPinger() { return MakePinger(MakeSystemResolver(), MakeSystemEchoer()); }

}  // namespace quorvex
