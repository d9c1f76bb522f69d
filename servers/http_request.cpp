#include "servers/http_request.h"

#include <condition_variable>
#include <mutex>

#include "common/busy_scope.h"

namespace quorvex {

namespace {

// Nothing to run meanwhile: the caller only sleeps until the transfer wakes it.
class SleepingLoop : public EventLoop {
 public:
  void DoEvents() override {}
  void WaitForEvents(int32_t timeoutMs) override {
    std::unique_lock lock(mutex_);
    woken_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return wakeUp_; });
    wakeUp_ = false;
  }
  void Wake() override {
    const std::lock_guard lock(mutex_);
    wakeUp_ = true;
    woken_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable woken_;
  bool wakeUp_ = false;
};

}  // namespace

void HttpRequest::send() {
  SleepingLoop loop;
  const bool neverExits = false;
  EventPump pump(loop, neverExits);
  send(pump);
}

void PlatformHttpRequest::open(const Text& method, const Text& url) {
  method_ = method;
  url_ = url;
  reply_.reset();
}

void PlatformHttpRequest::send(EventPump& pump) {
  if (url_.empty()) throw HttpError("send without open");
  if (inFlight_) throw HttpError("another transfer is in flight");
  const BusyScope inFlight(inFlight_);
  reply_.reset();
  reply_ = Transfer(method_, url_, pump);
}

Text PlatformHttpRequest::responseText() { return FromUtf8(LastReply().body); }

int32_t PlatformHttpRequest::status() { return LastReply().status; }

const HttpReply& PlatformHttpRequest::LastReply() const {
  if (!reply_) throw HttpError("no reply");
  return *reply_;
}

}  // namespace quorvex
