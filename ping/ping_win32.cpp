// The echoes and the resolver on Windows: IcmpSendEcho2 from iphlpapi, GetAddrInfoW from Winsock.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "common/kernel_handle_win32.h"
#include "common/wide_win32.h"
#include "ping/echoer.h"
#include "ping/name_lookups.h"
#include "ping/ping.h"

namespace quorvex {
namespace {

// The 64-bit ICMP_ECHO_REPLY, our data, and room for an ICMP error with the IP header and
// eight bytes of the datagram it refers to.
constexpr DWORD kReplyBufferSize = 256;
static_assert(kReplyBufferSize >= sizeof(ICMP_ECHO_REPLY) + kEchoPayloadSize + 8 + 28);

struct IcmpCloser {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE handle) { IcmpCloseHandle(handle); }
};
using IcmpHandle = ScopedHandle<IcmpCloser>;

// One pending echo: its completion event and the buffer its reply is written to.
struct PendingEcho {
  KernelHandle done;
  alignas(8) unsigned char reply[kReplyBufferSize] = {};
  bool sent = false;
};

// The echoes go out together through IcmpSendEcho2, each with an event of its own that is
// set when its reply came or its time ran out.
class Win32Echoer : public Echoer {
 public:
  std::vector<std::optional<int32_t>> Echo(const std::vector<uint32_t>& addressesNetworkOrder,
                                            int timeoutMs) override {
    std::vector<std::optional<int32_t>> results(addressesNetworkOrder.size());
    const IcmpHandle handle(IcmpCreateFile());
    if (!handle.valid()) return results;
    // WaitForMultipleObjects takes a limited number of events: larger calls go in groups.
    for (size_t first = 0; first < addressesNetworkOrder.size(); first += MAXIMUM_WAIT_OBJECTS) {
      const size_t count = std::min<size_t>(MAXIMUM_WAIT_OBJECTS, addressesNetworkOrder.size() - first);
      EchoGroup(handle.get(), &addressesNetworkOrder[first], count, timeoutMs, &results[first]);
    }
    return results;
  }

 private:
  static void EchoGroup(HANDLE icmp, const uint32_t* addresses, size_t count, int timeoutMs,
                        std::optional<int32_t>* results) {
    unsigned char request[kEchoPayloadSize];
    std::memset(request, kEchoPayloadByte, sizeof request);
    IP_OPTION_INFORMATION options{};
    options.Ttl = kEchoTimeToLive;
    std::vector<PendingEcho> echoes(count);
    std::vector<HANDLE> events;
    for (size_t i = 0; i < count; ++i) {
      PendingEcho& echo = echoes[i];
      echo.done.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
      if (!echo.done.valid()) continue;
      const DWORD replies = IcmpSendEcho2(icmp, echo.done.get(), nullptr, nullptr, addresses[i], request,
                                          sizeof request, &options, echo.reply, sizeof echo.reply,
                                          static_cast<DWORD>(timeoutMs));
      // An echo that completed at once sets its event all the same.
      echo.sent = replies != 0 || GetLastError() == ERROR_IO_PENDING;
      if (echo.sent) events.push_back(echo.done.get());
    }
    // Each echo ends by its own time-out; the margin only guards against a lost event.
    const DWORD waited = events.empty() ? WAIT_OBJECT_0
                                        : WaitForMultipleObjects(static_cast<DWORD>(events.size()), events.data(),
                                                                 TRUE, static_cast<DWORD>(timeoutMs) + kMarginMs);
    if (!events.empty() && waited >= WAIT_OBJECT_0 + events.size()) {
      // Requests still pending write into their buffers and set their events later: both
      // are left to them, never freed or closed, and no echo of this group counts as answered.
      new std::vector<PendingEcho>(std::move(echoes));
      return;
    }
    for (size_t i = 0; i < count; ++i) {
      if (echoes[i].sent) results[i] = RoundTrip(echoes[i]);
    }
  }

  static std::optional<int32_t> RoundTrip(PendingEcho& echo) {
    if (IcmpParseReplies(echo.reply, sizeof echo.reply) == 0) return std::nullopt;
    ICMP_ECHO_REPLY first;
    std::memcpy(&first, echo.reply, sizeof first);
    if (first.Status != IP_SUCCESS) return std::nullopt;
    return static_cast<int32_t>(first.RoundTripTime);
  }

  static constexpr DWORD kMarginMs = 1000;
};

// Winsock is started and cleaned up within each lookup: nothing stays open between calls.
class WinsockSession {
 public:
  WinsockSession() { started_ = WSAStartup(MAKEWORD(2, 2), &data_) == 0; }
  ~WinsockSession() {
    if (started_) WSACleanup();
  }
  WinsockSession(const WinsockSession&) = delete;
  WinsockSession& operator=(const WinsockSession&) = delete;
  bool started() const { return started_; }

 private:
  WSADATA data_{};
  bool started_ = false;
};

class Win32Resolver : public Resolver {
 public:
  std::optional<uint32_t> ResolveIpv4(const Text& hostName) override {
    const WinsockSession winsock;
    if (!winsock.started()) return std::nullopt;
    ADDRINFOW hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;  // one entry per address, not one per socket type
    ADDRINFOW* found = nullptr;
        if (GetAddrInfoW(Wide(hostName).c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return std::nullopt;
    const uint32_t address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    FreeAddrInfoW(found);
    return address;
  }
};

}  // namespace

std::unique_ptr<Resolver> MakeSystemResolver() { return std::make_unique<Win32Resolver>(); }

std::unique_ptr<Echoer> MakeSystemEchoer() { return std::make_unique<Win32Echoer>(); }

std::unique_ptr<Pinger> MakeSystemPinger() { return MakePinger(MakeSystemResolver(), MakeSystemEchoer()); }

}  // namespace quorvex
