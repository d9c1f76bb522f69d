// The echo and the resolver on Windows: IcmpSendEcho from iphlpapi, GetAddrInfoW from Winsock.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <cstring>

#include "tray/icmp.h"
#include "tray/icmp_echo.h"
#include "tray/ping_host.h"

namespace quorvex {
namespace {

// The 64-bit ICMP_ECHO_REPLY, our data, and room for an ICMP error with the IP header and
// eight bytes of the datagram it refers to.
constexpr DWORD kReplyBufferSize = 256;
static_assert(kReplyBufferSize >= sizeof(ICMP_ECHO_REPLY) + kEchoPayloadSize + 8 + 28);

class IcmpHandle {
 public:
  IcmpHandle() : handle_(IcmpCreateFile()) {}
  ~IcmpHandle() {
    if (valid()) IcmpCloseHandle(handle_);
  }
  IcmpHandle(const IcmpHandle&) = delete;
  IcmpHandle& operator=(const IcmpHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

class Win32IcmpEcho : public IcmpEcho {
 public:
  std::optional<int32_t> Echo(uint32_t addressNetworkOrder, int timeoutMs) override {
    const IcmpHandle handle;
    if (!handle.valid()) return std::nullopt;

    unsigned char request[kEchoPayloadSize];
    std::memset(request, kEchoPayloadByte, sizeof request);
    IP_OPTION_INFORMATION options{};
    options.Ttl = kEchoTimeToLive;
    alignas(8) unsigned char reply[kReplyBufferSize];
    std::memset(reply, 0, sizeof reply);

    const DWORD replies = IcmpSendEcho(handle.get(), addressNetworkOrder, request, sizeof request, &options, reply,
                                       sizeof reply, static_cast<DWORD>(timeoutMs));
    // With no reply the buffer says nothing; a zeroed one would read as status 0, time 0.
    if (replies == 0) return std::nullopt;
    ICMP_ECHO_REPLY first;
    std::memcpy(&first, reply, sizeof first);
    if (first.Status != IP_SUCCESS) return std::nullopt;
    return static_cast<int32_t>(first.RoundTripTime);
  }
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
    const std::wstring name(hostName.begin(), hostName.end());
    if (GetAddrInfoW(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return std::nullopt;
    const uint32_t address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    FreeAddrInfoW(found);
    return address;
  }
};

}  // namespace

std::unique_ptr<Resolver> MakeSystemResolver() { return std::make_unique<Win32Resolver>(); }

std::unique_ptr<IcmpEcho> MakeSystemIcmpEcho() { return std::make_unique<Win32IcmpEcho>(); }

std::unique_ptr<Pinger> MakePinger(Resolver& resolver) { return MakeEchoPinger(resolver, MakeSystemIcmpEcho()); }

}  // namespace quorvex
