// HttpRequest over WinINet. The session handle lives as long as the object, so WinINet
// can keep connections between polls. Every blocking call is given only the time left
// until the transfer's deadline, so a server that trickles bytes cannot hold the caller
// past the limit. The transfer runs on a thread of its own while the UI thread waits for
// messages. An abort closes the transfer's handles, which ends the call blocked on them
// on Windows; where that call goes on regardless (Wine), the transfer is left to end by
// its own time limit, holding everything it touches.
#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "common/pumped_wait.h"
#include "common/scoped_handle.h"
#include "common/wide_win32.h"
#include "servers/http_request.h"

namespace quorvex {

namespace {

using Clock = std::chrono::steady_clock;

struct InternetCloser {
  static HINTERNET None() { return nullptr; }
  static void Close(HINTERNET handle) { InternetCloseHandle(handle); }
};
using InternetHandle = ScopedHandle<InternetCloser>;

[[noreturn]] void Fail(const std::string& what) {
  throw HttpError(what + " failed (error " + std::to_string(GetLastError()) + ")");
}

void SetTimeout(HINTERNET handle, DWORD option, int64_t milliseconds) {
  DWORD value = static_cast<DWORD>(milliseconds < 1 ? 1 : milliseconds);
  InternetSetOptionW(handle, option, &value, sizeof value);
}

// The parts of an http URL that InternetConnectW and HttpOpenRequestW take.
struct UrlParts {
  std::wstring host;
  INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
  std::wstring pathAndQuery;
  bool secure = false;
};

UrlParts SplitUrl(const std::wstring& url) {
  wchar_t host[256] = {};
  wchar_t path[4096] = {};
  wchar_t query[4096] = {};
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = ARRAYSIZE(host);
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = ARRAYSIZE(path);
  parts.lpszExtraInfo = query;
  parts.dwExtraInfoLength = ARRAYSIZE(query);
  if (!InternetCrackUrlW(url.c_str(), 0, 0, &parts)) Fail("InternetCrackUrlW");
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
    throw HttpError("not an http URL");
  }
  UrlParts result;
  result.host = host;
  result.port = parts.nPort;
  result.pathAndQuery = std::wstring(path) + query;
  if (result.pathAndQuery.empty()) result.pathAndQuery = L"/";
  result.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  return result;
}

// One request on the wire: opened, used and closed on the transfer's thread, its handles
// closed early by an abort from the UI thread.
class WireTransfer {
 public:
  WireTransfer(HINTERNET session, std::wstring method, std::wstring url, const HttpLimits& limits)
      : session_(session), method_(std::move(method)), url_(std::move(url)), limits_(limits) {}

  // On the transfer's own thread.
  HttpReply Run() {
    struct HandlesClosed {
      WireTransfer& transfer;
      ~HandlesClosed() { transfer.CloseHandles(); }
    } closed{*this};
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limits_.transferTimeoutMs);
    const UrlParts url = SplitUrl(url_);
    const HINTERNET connection = Keep(
        InternetConnectW(session_, url.host.c_str(), url.port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0),
        "InternetConnectW");
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                  INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
    if (url.secure) flags |= INTERNET_FLAG_SECURE;
    const HINTERNET request = Keep(
        HttpOpenRequestW(connection, method_.c_str(), url.pathAndQuery.c_str(), nullptr, nullptr, nullptr, flags, 0),
        "HttpOpenRequestW");

    GiveRemainingTime(request, deadline);
    if (!HttpSendRequestW(request, nullptr, 0, nullptr, 0)) Fail("HttpSendRequestW");
    // WinINet can report a connection reset before the reply as a sent request with no
    // status; without a status line there is no reply.
    HttpReply reply;
    const DWORD status = QueryNumber(request, HTTP_QUERY_STATUS_CODE);
    if (status < 100) throw HttpError("the server closed the connection without a reply");
    const DWORD announced = QueryNumber(request, HTTP_QUERY_CONTENT_LENGTH, kNoLength);
    if (announced != kNoLength && announced > limits_.maxBodyBytes) RefuseTooLarge();
    ReadBody(request, deadline, reply.body);
    // WinINet reports a connection closed early as the end of the body; a reply shorter
    // than its Content-Length is a failed transfer all the same.
    if (announced != kNoLength && reply.body.size() < announced) {
      throw HttpError("the connection closed before the whole body arrived");
    }
    reply.status = static_cast<int32_t>(status);
    return reply;
  }

  // From the UI thread: the call blocked on a handle ends when the handle is closed.
  void Abort() {
    const std::lock_guard lock(mutex_);
    aborted_ = true;
    CloseAll();
  }

 private:
  // Takes `made` into the transfer; throws when it is null or the transfer was aborted.
  HINTERNET Keep(HINTERNET made, const std::string& madeBy) {
    const DWORD error = GetLastError();
    InternetHandle handle(made);  // closed here when it is not kept
    const std::lock_guard lock(mutex_);
    if (!handle.valid()) throw HttpError(madeBy + " failed (error " + std::to_string(error) + ")");
    if (aborted_) throw HttpError("the transfer was aborted");
    handles_.push_back(std::move(handle));
    return made;
  }

  void CloseHandles() {
    const std::lock_guard lock(mutex_);
    CloseAll();
  }

  // The request before its connection.
  void CloseAll() {
    while (!handles_.empty()) handles_.pop_back();
  }

  // The next blocking call may wait only for what is left of the transfer's time.
  static void GiveRemainingTime(HINTERNET request, Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) throw HttpError("HTTP transfer timed out");
    SetTimeout(request, INTERNET_OPTION_RECEIVE_TIMEOUT, left);
    SetTimeout(request, INTERNET_OPTION_SEND_TIMEOUT, left);
  }

  // A numeric header; `missing` when the reply has none.
  static DWORD QueryNumber(HINTERNET request, DWORD info, DWORD missing = 0) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!HttpQueryInfoW(request, info | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr)) return missing;
    return value;
  }

  // Reads only what has arrived, so each wait is bounded by the deadline, not by the
  // size of the buffer.
  void ReadBody(HINTERNET request, Clock::time_point deadline, std::string& body) {
    char buffer[16384];
    for (;;) {
      GiveRemainingTime(request, deadline);
      DWORD available = 0;
      if (!InternetQueryDataAvailable(request, &available, 0, 0)) Fail("InternetQueryDataAvailable");
      if (available == 0) return;  // the end of the body
      DWORD wanted = available < sizeof buffer ? available : static_cast<DWORD>(sizeof buffer);
      DWORD got = 0;
      if (!InternetReadFile(request, buffer, wanted, &got)) Fail("InternetReadFile");
      if (got == 0) return;
      if (static_cast<int64_t>(body.size() + got) > limits_.maxBodyBytes) RefuseTooLarge();
      body.append(buffer, got);
    }
  }

  [[noreturn]] void RefuseTooLarge() const {
    throw HttpError("reply body over " + std::to_string(limits_.maxBodyBytes) + " bytes");
  }

  static constexpr DWORD kNoLength = MAXDWORD;

  HINTERNET session_;
  std::wstring method_;
  std::wstring url_;
  HttpLimits limits_;
  std::mutex mutex_;
  std::vector<InternetHandle> handles_;
  bool aborted_ = false;
};

class WinInetHttpRequest final : public PlatformHttpRequest {
 public:
  explicit WinInetHttpRequest(const HttpLimits& limits)
      : limits_(limits), session_(InternetOpenW(L"Quorvex", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)) {
    if (session_.get() == nullptr) Fail("InternetOpenW");
    SetTimeout(session_.get(), INTERNET_OPTION_CONNECT_TIMEOUT, limits_.connectTimeoutMs);
    SetTimeout(session_.get(), INTERNET_OPTION_SEND_TIMEOUT, limits_.transferTimeoutMs);
    SetTimeout(session_.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, limits_.transferTimeoutMs);
  }

 private:
  // How long an aborted transfer is waited for before it is left to end on its own.
  static constexpr std::chrono::milliseconds kLeaveAbortedAfter{100};

  HttpReply Transfer(const Text& method, const Text& url, EventPump& pump) override {
    const auto transfer = std::make_shared<WireTransfer>(session_.get(), Wide(method),
                                                         Wide(url), limits_);
    return WaitPumping(pump, [transfer] { return transfer->Run(); }, [transfer] { transfer->Abort(); },
                       kLeaveAbortedAfter);
  }

  HttpLimits limits_;
  InternetHandle session_;
};

}  // namespace

std::unique_ptr<HttpRequest> MakeHttpRequest(const HttpLimits& limits) {
  return std::make_unique<WinInetHttpRequest>(limits);
}

}  // namespace quorvex
