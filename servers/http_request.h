// An HTTP request object, reused for every request of the run. A send waits for the whole
// reply while the UI thread keeps running its events.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "common/event_pump.h"
#include "common/text.h"

namespace quorvex {

struct HttpError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Limits that keep a hostile or silent server from freezing the program.
struct HttpLimits {
  int32_t connectTimeoutMs = 5000;
  int32_t transferTimeoutMs = 10000;  // the whole request, connect included
  int64_t maxBodyBytes = 1 << 20;     // a larger body is a failed transfer
};

class HttpRequest {
 public:
  virtual ~HttpRequest() = default;
  // Prepares a request; nothing goes on the wire yet. Forgets the previous reply.
  virtual void open(const Text& method, const Text& url) = 0;
  // Makes the opened request and waits for the whole reply, running events through `pump`
  // meanwhile. Throws HttpError when the transfer fails (no connection, time-out, reset,
  // body over the limit). When a yield throws (Exit), the transfer is abandoned at once
  // and that exception goes on. Every request reaches the server: no cache is read or
  // written. One transfer at a time: a send inside another's yields is refused.
  virtual void send(EventPump& pump) = 0;
  // The same with nothing else to run meanwhile (tools and tests).
  void send();
  // The body of the last reply decoded from UTF-8; throws HttpError when there is none.
  virtual Text responseText() = 0;
  // The HTTP status of the last reply; throws HttpError when there is none.
  virtual int32_t status() = 0;
};

// A reply as it arrived: the status and the undecoded body.
struct HttpReply {
  int32_t status = 0;
  std::string body;
};

// What the platform clients share: the opened request, one transfer at a time, and the last
// reply kept until the next open or send. A client only makes the transfer.
class PlatformHttpRequest : public HttpRequest {
 public:
  void open(const Text& method, const Text& url) final;
  void send(EventPump& pump) final;
  using HttpRequest::send;
  Text responseText() final;
  int32_t status() final;

 protected:
  // Makes the request and waits for the whole reply, running events through `pump`; throws
  // HttpError when the transfer fails.
  virtual HttpReply Transfer(const Text& method, const Text& url, EventPump& pump) = 0;

 private:
  const HttpReply& LastReply() const;

  Text method_;
  Text url_;
  bool inFlight_ = false;
  std::optional<HttpReply> reply_;
};

// The platform's client (libcurl natively, WinINet on Windows).
std::unique_ptr<HttpRequest> MakeHttpRequest(const HttpLimits& limits = {});

}  // namespace quorvex
