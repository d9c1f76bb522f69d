// A synchronous HTTP request object, reused for every request of the run.
#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>

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
  // Makes the opened request and waits for the whole reply. Throws HttpError when the
  // transfer fails (no connection, time-out, reset, body over the limit). Every request
  // reaches the server: no cache is read or written.
  virtual void send() = 0;
  // The body of the last reply decoded from UTF-8; throws HttpError when there is none.
  virtual Text responseText() = 0;
  // The HTTP status of the last reply; throws HttpError when there is none.
  virtual int32_t status() = 0;
};

// The platform's client (libcurl natively, WinINet on Windows).
std::unique_ptr<HttpRequest> MakeHttpRequest(const HttpLimits& limits = {});

}  // namespace quorvex
